// What the menu tells the console of its entries for clicks: the rows they stand on as the
// screen shows them, the highlighted one, and that it no longer waits.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/quest_harness.h"
#include "support/screen_probe.h"

namespace tindel::testing {
namespace {

using Told = MenuEntries;

std::vector<int> counts_of(const std::vector<Told>& told) {
  std::vector<int> counts;
  for (const Told& t : told)
    counts.push_back(t.count);
  return counts;
}

QuestRun play(const TempDir& dir, const std::string& quest, std::vector<std::uint8_t> keys) {
  return run_quest(dir, quest, {.input = [keys](ScriptedConsole& c) {
                     for (std::uint8_t k : keys)
                       c.add_key(k);
                   }});
}

class MenuEntryRows : public ::testing::TestWithParam<int> {};

// The run ends while the menu waits (the keys ran out), so the screen is as last drawn.
TEST_P(MenuEntryRows, EachDrawTellsTheRowsTheCaptionsStandOnAndTheHighlight) {
  TempDir dir;
  QuestRun run = play(dir,
                      ":start\n" + pln_lines(GetParam()) +
                          "btn north, North\n"
                          "btn east, East\n"
                          "btn south, South\n"
                          "end\n",
                      {80});
  const std::vector<Told>& told = run.console->menu_entries_told();
  ASSERT_EQ(told.size(), 2u) << run.screen();
  EXPECT_EQ(told[0].highlighted, 0);
  EXPECT_EQ(told[1].highlighted, 1);
  EXPECT_EQ(told[0].first_row, told[1].first_row);
  const ScreenModel& screen = run.console->screen();
  const int first_row = told[1].first_row;
  EXPECT_EQ(told[1].count, 3);
  EXPECT_EQ(find_on_screen(screen, "North").y + 1, first_row);
  EXPECT_EQ(find_on_screen(screen, "East").y + 1, first_row + 1);
  EXPECT_EQ(find_on_screen(screen, "South").y + 1, first_row + 2);
  if (GetParam() > 10) {
    EXPECT_EQ(first_row + 2, screen.height()) << "the text scrolled the list to the bottom";
  }
}

// A short text leaves the list in the middle of the screen; a long one scrolls it to the
// bottom row.
INSTANTIATE_TEST_SUITE_P(TextAbove, MenuEntryRows, ::testing::Values(1, 18));

struct StopCase {
  const char* what;
  std::string quest;
  std::vector<std::uint8_t> keys;
  std::vector<int> counts;  // the entries told, call by call
};
void PrintTo(const StopCase& c, std::ostream* os) {
  *os << c.what;
}

class MenuStopsWaiting : public ::testing::TestWithParam<StopCase> {};

TEST_P(MenuStopsWaiting, ItTellsNoEntriesOnceItNoLongerWaits) {
  const StopCase& c = GetParam();
  TempDir dir;
  QuestRun run = play(dir, c.quest, c.keys);
  EXPECT_EQ(counts_of(run.console->menu_entries_told()), c.counts);
}

const std::string kTwoRooms =
    ":start\n"
    "btn a, A\n"
    "btn b, B\n"
    "btn c, C\n"
    "end\n"
    ":common\n"
    "end\n"
    ":b\n"
    "btn start, Back\n"
    "btn b, Stay\n"
    "end\n";

const std::string kLamp =
    ":start\n"
    "inv + lamp\n"
    "btn start, Stay\n"
    "end\n"
    ":common\n"
    "end\n"
    ":use_lamp_light\n"
    "pln The lamp glows.\n"
    "end\n";

INSTANTIATE_TEST_SUITE_P(
    Ends, MenuStopsWaiting,
    ::testing::Values(
        StopCase{"a choice, then the next location's list", kTwoRooms, {80, 13}, {3, 3, 0, 2}},
        StopCase{"a timed menu that runs out", "btn a, A\npause 108\n", {}, {1, 1, 0}},
        StopCase{"Escape, before its report", kTwoRooms, {27}, {3, 0}},
        StopCase{"a use action, before it runs; the list is back after it",
                 kLamp,
                 {'u', 80, 13},
                 {1, 2, 2, 0, 2}},
        StopCase{"an empty list has nothing to click", "end\n", {'i'}, {0, 0}}));

}  // namespace
}  // namespace tindel::testing
