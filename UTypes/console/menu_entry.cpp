#include "UTypes/console/menu_entry.h"

#include "UTypes/console/console_ops.h"

namespace tindel {

namespace {

// The digits choose the first nine entries; the others are reached with the arrows.
constexpr int kNumberedEntries = 9;

}  // namespace

std::string entry_prefix(const InterpreterState& s, int i, int sel) {
  if (!s.accessible) return std::string(menu_mark(s, i == sel));
  std::string prefix = i == sel ? "> " : "  ";
  if (i < kNumberedEntries)
    prefix += std::to_string(i + 1) + ". ";
  else
    prefix += "   ";
  return prefix;
}

int numbered_entry(const InterpreterState& s, std::uint8_t key) {
  if (!s.accessible || key < '1' || key > '0' + kNumberedEntries) return -1;
  const int entry = key - '1';
  return entry < s.btn_count ? entry : -1;
}

}  // namespace tindel
