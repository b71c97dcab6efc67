#pragma once
// The answers of exact label checks, per name: every name a search can find, gathered in one
// reading of the quest, and the names holding ":" as they are asked. A check of a large quest
// looks up tens of thousands of names, so the table is flat: each name with its answer in one
// block, in the order they came, and open addressing over slots of eight bytes. A lookup
// touches a slot and a record, and the gathering allocates nothing per name.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "UTypes/state/name_table.h"

namespace tindel {

class FoundLabels {
 public:
  // Whether the gathering has run, so every name a search finds is in the table.
  bool gathered() const { return gathered_; }

  // Room for `bytes` bytes of names before the block is moved; room never used is never
  // touched, so costs no memory.
  void reserve(std::size_t bytes) { names_.reserve(bytes); }

  // A name the gathering found, kept without a slot: mark_gathered spreads them all at once,
  // in a table of the right size, so the slots are not rebuilt as the table fills.
  void gather(std::string_view name) {
    append(name, true);
    ++pending_;
  }
  void mark_gathered() {
    rebuild(capacity_for(records_ + pending_));
    pending_ = 0;
    gathered_ = true;
  }

  // The answer noted for `name`, if any.
  std::optional<bool> find(std::string_view name) const {
    if (slots_.empty()) return std::nullopt;
    std::uint64_t hash = NameProbe::hash_of(name);
    for (std::size_t i = home(hash);; i = (i + 1) & mask()) {
      std::uint64_t slot = slots_[i];
      if (slot == 0) return std::nullopt;
      if (tag_of(slot) == tag_of(hash) && name_at(offset_of(slot)) == name)
        return names_[offset_of(slot)] != 0;
    }
  }

  // Notes the answer for `name`, in place of any noted before.
  void note(std::string_view name, bool found) {
    if (records_ + 1 > max_records()) rebuild(capacity_for(records_ + 1));
    std::uint64_t hash = NameProbe::hash_of(name);
    std::size_t i = home(hash);
    for (; slots_[i] != 0; i = (i + 1) & mask()) {
      if (tag_of(slots_[i]) == tag_of(hash) && name_at(offset_of(slots_[i])) == name) {
        names_[offset_of(slots_[i])] = found ? 1 : 0;
        return;
      }
    }
    slots_[i] = slot_for(hash, append(name, found));
    ++records_;
  }

  // The names with a slot: each once, whether gathered or noted.
  std::size_t size() const { return records_; }

  void clear() { *this = FoundLabels(); }

 private:
  // A record: the answer (one byte), the name's length (four), the name. A slot holds the
  // record's offset + 1 in its low bits (0: free) and the hash's low bits above them, which
  // tell apart most names that meet in a run of probes.
  static constexpr int kOffsetBits = 40;
  static constexpr std::uint64_t kOffsetMask = (std::uint64_t{1} << kOffsetBits) - 1;
  static constexpr std::size_t kHeader = 5;

  static std::uint64_t tag_of(std::uint64_t bits) { return bits >> kOffsetBits; }
  static std::size_t offset_of(std::uint64_t slot) { return (slot & kOffsetMask) - 1; }
  static std::uint64_t slot_for(std::uint64_t hash, std::size_t offset) {
    return (tag_of(hash) << kOffsetBits) | (offset + 1);
  }

  // Appends a record; its offset.
  std::size_t append(std::string_view name, bool found) {
    std::size_t offset = names_.size();
    if (name.size() > UINT32_MAX || offset + kHeader + name.size() >= kOffsetMask)
      throw std::length_error("label names too long");
    auto length = static_cast<std::uint32_t>(name.size());
    char header[kHeader] = {found ? '\1' : '\0'};
    std::memcpy(header + 1, &length, sizeof length);
    names_.append(header, kHeader);
    names_.append(name);
    return offset;
  }
  std::string_view name_at(std::size_t offset) const {
    std::uint32_t length = 0;
    std::memcpy(&length, names_.data() + offset + 1, sizeof length);
    return std::string_view(names_.data() + offset + kHeader, length);
  }

  std::size_t mask() const { return slots_.size() - 1; }
  // The high bits of the product pick the slot; the tag comes from the hash's own high bits.
  std::size_t home(std::uint64_t hash) const {
    return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ull) >> shift_);
  }
  // At most two thirds of the slots in use keeps the runs of probes short.
  std::size_t max_records() const { return slots_.size() / 3 * 2; }
  static std::size_t capacity_for(std::size_t names) {
    std::size_t capacity = 16;
    while (capacity / 3 * 2 < names)
      capacity *= 2;
    return capacity;
  }

  // Spreads every record over `capacity` slots (a power of two), a name once only: a name
  // gathered twice keeps its first record.
  void rebuild(std::size_t capacity) {
    slots_.assign(capacity, 0);
    shift_ = 64;
    for (std::size_t c = capacity; c > 1; c /= 2)
      --shift_;
    records_ = 0;
    for (std::size_t offset = 0; offset < names_.size(); offset += kHeader + name_at(offset).size())
      if (place(offset)) ++records_;
  }
  bool place(std::size_t offset) {
    std::string_view name = name_at(offset);
    std::uint64_t hash = NameProbe::hash_of(name);
    std::size_t i = home(hash);
    for (; slots_[i] != 0; i = (i + 1) & mask())
      if (tag_of(slots_[i]) == tag_of(hash) && name_at(offset_of(slots_[i])) == name) return false;
    slots_[i] = slot_for(hash, offset);
    return true;
  }

  std::vector<std::uint64_t> slots_;
  std::string names_;
  std::size_t records_ = 0;  // with a slot
  std::size_t pending_ = 0;  // gathered, waiting for mark_gathered
  int shift_ = 64;
  bool gathered_ = false;
};

}  // namespace tindel
