#include "UTypes/console/menu_clicks.h"

#include "UTypes/console/console.h"

namespace tindel {

namespace {

// Shift, Alt and Ctrl held with a button do not change what it does.
constexpr int kModifierBits = 4 | 8 | 16;
constexpr int kLeftButton = 0;
constexpr int kWheelUp = 64;
constexpr int kWheelDown = 65;

}  // namespace

std::vector<std::uint8_t> keys_for_click(const MenuEntries& entries, int row) {
  const int target = row - entries.first_row;
  if (entries.count <= 0 || target < 0 || target >= entries.count) return {};
  const int moves = target - entries.highlighted;
  std::vector<std::uint8_t> keys(static_cast<std::size_t>(moves < 0 ? -moves : moves),
                                 moves < 0 ? key::kUp : key::kDown);
  keys.push_back(key::kEnter);
  return keys;
}

std::vector<std::uint8_t> keys_for_mouse(const MenuEntries& entries, const MouseReport& report) {
  if (!report.press || entries.count <= 0) return {};
  switch (report.button & ~kModifierBits) {
    case kLeftButton:
      return keys_for_click(entries, report.row);
    case kWheelUp:
      return {key::kUp};
    case kWheelDown:
      return {key::kDown};
    default:
      return {};
  }
}

}  // namespace tindel
