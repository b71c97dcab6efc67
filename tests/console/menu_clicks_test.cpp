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

TEST(MenuClicks, AClickWalksFromTheHighlightToTheEntryAndChoosesIt) {
  const MenuEntries first_lit{10, 3, 0};
  EXPECT_EQ(keys_for_click(first_lit, 10), Keys{kEnter});
  EXPECT_EQ(keys_for_click(first_lit, 11), (Keys{kDown, kEnter}));
  EXPECT_EQ(keys_for_click(first_lit, 12), (Keys{kDown, kDown, kEnter}));
  const MenuEntries last_lit{10, 3, 2};
  EXPECT_EQ(keys_for_click(last_lit, 10), (Keys{kUp, kUp, kEnter}));
  EXPECT_EQ(keys_for_click(last_lit, 12), Keys{kEnter});
}

TEST(MenuClicks, AClickBesideTheListOrWithoutOneDoesNothing) {
  const MenuEntries list{10, 3, 1};
  EXPECT_EQ(keys_for_click(list, 9), Keys{});
  EXPECT_EQ(keys_for_click(list, 13), Keys{});
  EXPECT_EQ(keys_for_click(list, 0), Keys{});
  EXPECT_EQ(keys_for_click({10, 0, 0}, 10), Keys{});
  // The top of a list taller than the screen stands above row 1.
  EXPECT_EQ(keys_for_click({-1, 5, 0}, 1), (Keys{kDown, kDown, kEnter}));
}

TEST(MenuClicks, MouseReportsOfTheTerminal) {
  const MenuEntries list{4, 2, 0};
  struct Case {
    const char* what;
    MouseReport report;
    Keys keys;
  };
  const std::vector<Case> cases = {
      {"left press on the second entry", {0, 30, 5, true}, {kDown, kEnter}},
      {"the same with Shift, Alt and Ctrl", {4 | 8 | 16, 30, 5, true}, {kDown, kEnter}},
      {"its release", {0, 30, 5, false}, {}},
      {"a move with the button held", {32, 30, 5, true}, {}},
      {"the right button", {2, 30, 5, true}, {}},
      {"the middle button", {1, 30, 5, true}, {}},
      {"a left press beside the list", {0, 30, 7, true}, {}},
      {"the wheel up, anywhere", {64, 1, 20, true}, {kUp}},
      {"the wheel down, anywhere", {65, 1, 20, true}, {kDown}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(keys_for_mouse(list, c.report), c.keys) << c.what;
  EXPECT_EQ(keys_for_mouse({4, 0, 0}, {65, 1, 20, true}), Keys{}) << "no list, no wheel";
}

}  // namespace
}  // namespace tindel
