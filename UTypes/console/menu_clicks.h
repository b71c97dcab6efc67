#pragma once
// What a click, a tap or the wheel on the menu's list stands for: the keys a player would
// type for it, so that the menu's own rules decide what happens.
#include <cstdint>
#include <vector>

#include "UTypes/console/key_decoder.h"

namespace tindel {

// Where the menu's entries stand, as the menu last told the console.
struct MenuEntries {
  int first_row = 0;  // 1-based row of entry 0
  int count = 0;      // 0: the menu does not wait on a list
  int highlighted = 0;
  friend bool operator==(const MenuEntries&, const MenuEntries&) = default;
};

// A click on 1-based row `row`: Up or Down from the highlighted entry to the entry on that
// row, then Enter. Nothing for a row without an entry.
std::vector<std::uint8_t> keys_for_click(const MenuEntries& entries, int row);

// A report of the terminal's mouse: a left press as a click, the wheel as one Up or Down;
// releases, moves and other buttons give nothing.
std::vector<std::uint8_t> keys_for_mouse(const MenuEntries& entries, const MouseReport& report);

}  // namespace tindel
