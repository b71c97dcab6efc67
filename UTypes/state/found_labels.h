#pragma once
// The answers of exact label checks, per name: every name a search can find, gathered in one
// reading of the quest, and the names holding ":" as they are asked. A check of a large quest
// looks up tens of thousands of names at random, so the table is small and flat: each name
// with its answer in one block, in the order they came, and open addressing over slots of
// four bytes. A lookup touches a slot and a record, and the gathering allocates nothing per
// name.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "UTypes/state/name_table.h"

namespace tindel {

class FoundLabels {
 public:
  // The block of names holds at most `max_bytes` bytes (the slots address it with 32 bits);
  // tests give less, to reach the limit.
  explicit FoundLabels(std::size_t max_bytes = UINT32_MAX - 1) : max_bytes_(max_bytes) {}

  // Whether the gathering has run, so every name a search finds is in the table.
  bool gathered() const { return gathered_; }
  // Whether a gathered name found no room: the table cannot answer, and the quest is read.
  bool full() const { return full_; }

  // Room for `bytes` bytes of names before the block is moved; room never used is never
  // touched, so costs no memory.
  void reserve(std::size_t bytes) { names_.reserve(bytes < max_bytes_ ? bytes : max_bytes_); }

  // A name the gathering found, kept without a slot: mark_gathered spreads them all at once,
  // in a table of the right size, so the slots are not rebuilt as the table fills.
  void gather(std::string_view name) {
    if (!fits(name)) {
      full_ = true;
      return;
    }
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
    std::uint32_t slot = slot_of(name);
    if (slot == 0) return std::nullopt;
    return found_at(slot - 1);
  }

  // Notes the answer for `name`, in place of any noted before; a new name without room is
  // not noted, and is asked about anew.
  void note(std::string_view name, bool found) {
    if (std::uint32_t slot = slot_of(name)) {
      set_found(slot - 1, found);
      return;
    }
    if (!fits(name)) return;
    if (records_ + 1 > max_records()) rebuild(capacity_for(records_ + 1));
    std::size_t i = home(name);
    while (slots_[i] != 0)
      i = (i + 1) & mask();
    slots_[i] = append(name, found) + 1;
    ++records_;
  }

  // The names with a slot: each once, whether gathered or noted.
  std::size_t size() const { return records_; }

  void clear() { *this = FoundLabels(max_bytes_); }

 private:
  // A record: a byte with the answer in its high bit and the name's length below it, or
  // kLongName there and the length in the four bytes after; then the name. Most names are
  // short, so most records are one byte longer than their name. A slot holds the record's
  // offset + 1; 0 is a free slot.
  static constexpr std::uint8_t kFound = 0x80;
  static constexpr std::uint8_t kLongName = 0x7F;
  static constexpr std::size_t kMaxHeader = 5;
  static std::size_t header_size(std::size_t length) { return length < kLongName ? 1 : kMaxHeader; }

  // The slot holding `name`, 0 when none does.
  std::uint32_t slot_of(std::string_view name) const {
    if (slots_.empty()) return 0;
    for (std::size_t i = home(name);; i = (i + 1) & mask())
      if (slots_[i] == 0 || name_at(slots_[i] - 1) == name) return slots_[i];
  }

  bool fits(std::string_view name) const {
    return name.size() <= max_bytes_ && max_bytes_ - name.size() >= names_.size() + kMaxHeader;
  }
  // Appends a record that fits; its offset.
  std::uint32_t append(std::string_view name, bool found) {
    auto offset = static_cast<std::uint32_t>(names_.size());
    auto length = static_cast<std::uint32_t>(name.size());
    std::size_t size = header_size(length);
    char header[kMaxHeader] = {};
    header[0] = static_cast<char>((found ? kFound : 0) | (size == 1 ? length : kLongName));
    if (size > 1) std::memcpy(header + 1, &length, sizeof length);
    names_.append(header, size);
    names_.append(name);
    return offset;
  }
  std::string_view name_at(std::size_t offset) const {
    const char* record = names_.data() + offset;
    std::uint32_t length = static_cast<std::uint8_t>(record[0]) & kLongName;
    if (length < kLongName) return std::string_view(record + 1, length);
    std::memcpy(&length, record + 1, sizeof length);
    return std::string_view(record + kMaxHeader, length);
  }
  bool found_at(std::size_t offset) const {
    return (static_cast<std::uint8_t>(names_[offset]) & kFound) != 0;
  }
  void set_found(std::size_t offset, bool found) {
    auto head = static_cast<std::uint8_t>(names_[offset] & kLongName);
    names_[offset] = static_cast<char>(found ? head | kFound : head);
  }

  std::size_t mask() const { return slots_.size() - 1; }
  // The high bits of the product pick the slot.
  std::size_t home(std::string_view name) const {
    return static_cast<std::size_t>((NameProbe::hash_of(name) * 0x9E3779B97F4A7C15ull) >> shift_);
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
    for (std::size_t offset = 0; offset < names_.size();) {
      std::size_t length = name_at(offset).size();
      if (place(offset)) ++records_;
      offset += header_size(length) + length;
    }
  }
  bool place(std::size_t offset) {
    std::string_view name = name_at(offset);
    std::size_t i = home(name);
    for (; slots_[i] != 0; i = (i + 1) & mask())
      if (name_at(slots_[i] - 1) == name) return false;
    slots_[i] = static_cast<std::uint32_t>(offset + 1);
    return true;
  }

  std::vector<std::uint32_t> slots_;
  std::string names_;
  std::size_t max_bytes_;
  std::size_t records_ = 0;  // with a slot
  std::size_t pending_ = 0;  // gathered, waiting for mark_gathered
  int shift_ = 64;
  bool gathered_ = false;
  bool full_ = false;
};

}  // namespace tindel
