// Clicks and the wheel on the menu's list as the keys a player would type.
#include "UTypes/console/menu_clicks.h"

#include <gtest/gtest.h>

#include <vector>

#include "UTypes/console/console.h"

namespace tindel {
namespace {

using Keys = std::vector<std::uint8_t>;
constexpr std::uint8_t kUp = key::kUp;
constexpr std::uint8_t kDown = key::kDown;
constexpr std::uint8_t kEnter = key::kEnter;

TEST(MenuClicks, MouseReportsAsKeys) {
  const MenuEntries first_lit{10, 3, 0};  // rows 10 to 12
  const MenuEntries last_lit{10, 3, 2};
  struct Case {
    const char* what;
    MenuEntries list;
    MouseReport report;
    Keys keys;
  };
  const std::vector<Case> cases = {
      {"the highlighted entry", first_lit, {0, 30, 10, true}, {kEnter}},
      {"two below the highlight", first_lit, {0, 30, 12, true}, {kDown, kDown, kEnter}},
      {"two above it", last_lit, {0, 30, 10, true}, {kUp, kUp, kEnter}},
      {"Shift, Alt and Ctrl held", first_lit, {4 | 8 | 16, 1, 11, true}, {kDown, kEnter}},
      {"the top of a list taller than the screen",
       {-1, 5, 0},
       {0, 1, 1, true},
       {kDown, kDown, kEnter}},
      {"above the list", first_lit, {0, 30, 9, true}, {}},
      {"below the list", first_lit, {0, 30, 13, true}, {}},
      {"without a list", {10, 0, 0}, {0, 30, 10, true}, {}},
      {"a release", first_lit, {0, 30, 11, false}, {}},
      {"a move with the button held", first_lit, {32, 30, 11, true}, {}},
      {"the right button", first_lit, {2, 30, 11, true}, {}},
      {"the wheel up, anywhere", first_lit, {64, 1, 20, true}, {kUp}},
      {"the wheel down, anywhere", first_lit, {65, 1, 20, true}, {kDown}},
      {"the wheel without a list", {10, 0, 0}, {65, 1, 20, true}, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(keys_for_mouse(c.list, c.report), c.keys) << c.what;
}

}  // namespace
}  // namespace tindel
