#pragma once
// The names of the variable table. Beside each name it keeps the name's first eight bytes
// (length and first seven characters) packed in one word, so the linear search over all
// slots compares one word per slot in a small, cache-friendly array.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "UTypes/state/short_string.h"

namespace tindel {

class NameProbe {
 public:
  explicit NameProbe(std::string_view key) : key_(key), head_(key.size() & 0xFF) {
    std::size_t n = std::min<std::size_t>(key.size(), 7);
    for (std::size_t k = 0; k < n; ++k)
      head_ |= static_cast<std::uint64_t>(static_cast<unsigned char>(key[k])) << (8 * (k + 1));
  }
  std::uint64_t head() const { return head_; }
  std::string_view key() const { return key_; }

 private:
  std::string_view key_;
  std::uint64_t head_ = 0;
};

template <std::size_t Slots, std::size_t N>
class NameTable {
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
    if (i == 0) {  // slot 0 is only the search sentinel: it is not counted
      if (names_[0].view() == s) return;
      names_[0] = s;
      heads_[0] = NameProbe(names_[0].view()).head();
      return;
    }
    --head_counts_[bucket(heads_[i])];
    names_[i] = s;
    heads_[i] = NameProbe(names_[i].view()).head();
    ++head_counts_[bucket(heads_[i])];
    ++generation_;
  }

  // Every name empty, the sentinel's too, at the cost of a few block writes: start-up does
  // this once per run.
  void clear_all() {
    for (Name& name : names_)
      name.clear();
    heads_.fill(NameProbe({}).head());
    head_counts_ = initial_counts();
    ++generation_;
  }

  // Changes whenever a name other than the sentinel's is written, so a remembered search
  // result is good exactly while the generation stays the same.
  std::uint64_t generation() const { return generation_; }

  // Searching down from slot `below` - 1: the first slot whose name is the probe's key.
  // The caller keeps the key in a slot below (the sentinel) so the search always stops.
  int find_below(int below, const NameProbe& probe) const {
    const std::uint64_t head = probe.head();
    if (head_counts_[bucket(head)] == 0) return 0;  // no slot but the sentinel has the name
    int i = below;
    // Four heads at a time, without branching on each, until one of them could match.
    while (i >= 4) {
      const std::uint64_t* h = heads_.data() + (i - 4);
      if ((h[0] == head) | (h[1] == head) | (h[2] == head) | (h[3] == head)) break;
      i -= 4;
    }
    do {
      --i;
    } while (!matches(static_cast<std::size_t>(i), probe));
    return i;
  }

 private:
  static constexpr std::size_t kBuckets = 4096;
  static std::size_t bucket(std::uint64_t head) {
    return static_cast<std::size_t>((head * 0x9E3779B97F4A7C15ull) >> 52) % kBuckets;
  }

  bool matches(std::size_t i, const NameProbe& probe) const {
    if (heads_[i] != probe.head()) return false;
    std::size_t len = names_[i].size();
    return len <= 7 || names_[i].view().substr(7) == probe.key().substr(7);
  }

  std::array<Name, Slots> names_{};
  std::array<std::uint64_t, Slots> heads_{};
  std::uint64_t generation_ = 1;
  // How many slots (the sentinel aside) have a head in each bucket: a name whose bucket is
  // empty is in no slot, and its search needs no scan.
  std::array<std::uint16_t, kBuckets> head_counts_ = initial_counts();

  static constexpr std::array<std::uint16_t, kBuckets> initial_counts() {
    std::array<std::uint16_t, kBuckets> counts{};
    counts[bucket(0)] = Slots - 1;  // every slot but the sentinel starts with the empty name
    return counts;
  }
};

}  // namespace tindel
