#pragma once
// The names of the variable table, with an index beside them: every slot with a non-empty
// name sits in the chain of its name's hash bucket, the chain ordered from the highest slot
// down. A search walks one short chain instead of all slots, and still finds what the plain
// downward scan finds: the highest slot below a bound whose name is the key.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "UTypes/state/short_string.h"

namespace tindel {

// A key with its hash, computed once per lookup.
class NameProbe {
 public:
  explicit NameProbe(std::string_view key) : key_(key), hash_(hash_of(key)) {}
  std::uint64_t hash() const { return hash_; }
  std::string_view key() const { return key_; }

  // Eight bytes at a time: names are short, and a lookup hashes one on every read.
  static std::uint64_t hash_of(std::string_view key) {
    std::uint64_t h = 0xCBF29CE484222325ull ^ key.size();
    std::size_t i = 0;
    for (; i + 8 <= key.size(); i += 8) {
      std::uint64_t chunk = 0;
      std::memcpy(&chunk, key.data() + i, 8);
      h = mix(h ^ chunk);
    }
    if (i < key.size()) {
      std::uint64_t tail = 0;
      for (std::size_t k = i; k < key.size(); ++k)
        tail = (tail << 8) | static_cast<unsigned char>(key[k]);
      h = mix(h ^ tail);
    }
    return h ^ (h >> 29);
  }

 private:
  static std::uint64_t mix(std::uint64_t h) {
    h *= 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 32);
  }

 public:
 private:
  std::string_view key_;
  std::uint64_t hash_ = 0;
};

template <std::size_t Slots, std::size_t N>
class NameTable {
  static_assert(Slots < 32768, "slot numbers are kept in 16 bits");

 public:
  using Name = ShortString<N>;

  // One slot's name, read and written like the fixed string it is.
  class Ref {
   public:
    Ref(NameTable& table, std::size_t i) : table_(table), i_(i) {}
    Ref& operator=(std::string_view s) {
      table_.assign(i_, s);
      return *this;
    }
    void clear() { table_.assign(i_, {}); }
    std::string_view view() const { return table_.names_[i_].view(); }
    std::string str() const { return table_.names_[i_].str(); }
    std::size_t size() const { return table_.names_[i_].size(); }
    bool empty() const { return table_.names_[i_].empty(); }
    char operator[](std::size_t k) const { return table_.names_[i_][k]; }
    friend bool operator==(const Ref& a, std::string_view b) { return a.view() == b; }

   private:
    NameTable& table_;
    std::size_t i_;
  };

  Ref operator[](std::size_t i) { return Ref(*this, i); }
  const Name& operator[](std::size_t i) const { return names_[i]; }
  static constexpr std::size_t size() { return Slots; }

  void assign(std::size_t i, std::string_view s) {
    if (i == 0) {  // slot 0 is only the search sentinel: it is in no chain
      names_[0] = s;
      return;
    }
    ++generation_;  // a remembered answer may depend on the write, even of the same name
    if (names_[i].view() == s.substr(0, N)) return;
    unlink(i);
    names_[i] = s;
    hashes_[i] = NameProbe::hash_of(names_[i].view());
    if (!names_[i].empty()) link(i);
  }

  // Every name empty, the sentinel's too, at the cost of a few block writes: start-up does
  // this once per run.
  void clear_all() {
    for (Name& name : names_)
      name.clear();
    hashes_.fill(NameProbe::hash_of({}));
    top_.fill(0);  // every chain empty: empty names are in none
    ++generation_;
  }

  // Changes whenever a name other than the sentinel's is written, so a remembered search
  // result is good exactly while the generation stays the same.
  std::uint64_t generation() const { return generation_; }

  // Searching down from slot `below` - 1: the first slot whose name is the probe's key, or 0
  // (the sentinel) when there is none.
  int find_below(int below, const NameProbe& probe) const {
    if (probe.key().empty()) return find_empty_below(below);
    int i = top_[bucket(probe.hash())];
    while (i >= below)
      i = lower_[static_cast<std::size_t>(i)];
    while (i != 0 && !matches(static_cast<std::size_t>(i), probe))
      i = lower_[static_cast<std::size_t>(i)];
    return i;
  }

 private:
  static constexpr std::size_t kBuckets = 2048;
  static std::size_t bucket(std::uint64_t hash) {
    return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ull) >> 53) % kBuckets;
  }

  bool matches(std::size_t i, const NameProbe& probe) const {
    return hashes_[i] == probe.hash() && names_[i].view() == probe.key();
  }

  // Empty names are not indexed (most slots have one): their rare search is the plain scan.
  int find_empty_below(int below) const {
    int i = below;
    do {
      --i;
    } while (i > 0 && !names_[static_cast<std::size_t>(i)].empty());
    return i;
  }

  // Puts slot i into its bucket's chain, keeping the chain ordered from the highest slot.
  void link(std::size_t i) {
    std::int16_t* next = &top_[bucket(hashes_[i])];
    std::int16_t above = 0;
    while (*next > static_cast<int>(i)) {
      above = *next;
      next = &lower_[static_cast<std::size_t>(*next)];
    }
    lower_[i] = *next;
    higher_[i] = above;
    if (*next != 0) higher_[static_cast<std::size_t>(*next)] = static_cast<std::int16_t>(i);
    *next = static_cast<std::int16_t>(i);
  }

  void unlink(std::size_t i) {
    if (names_[i].empty()) return;
    std::int16_t up = higher_[i], down = lower_[i];
    if (up != 0) {
      lower_[static_cast<std::size_t>(up)] = down;
    } else {
      top_[bucket(hashes_[i])] = down;
    }
    if (down != 0) higher_[static_cast<std::size_t>(down)] = up;
  }

  std::array<Name, Slots> names_{};
  std::array<std::uint64_t, Slots> hashes_{};
  // The chains: the highest slot of each bucket, and for each slot the next lower and
  // higher slot of its bucket; 0 ends a chain (slot 0 is never in one).
  std::array<std::int16_t, kBuckets> top_{};
  std::array<std::int16_t, Slots> lower_{};
  std::array<std::int16_t, Slots> higher_{};
  std::uint64_t generation_ = 1;
};

}  // namespace tindel
