// The button menu: walking the highlight, its colours, timed menus, the inventory list,
// Escape, and what a syntax check leaves of it.
#include "UTypes/console/menu.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "UTypes/eval/var_table.h"
#include "support/quest_harness.h"
#include "support/screen_probe.h"

namespace tindel::testing {
namespace {

const std::string kThreeWays =
    ":start\n"
    "pln Three roads meet here.\n"
    "btn north, North\n"
    "btn east, East\n"
    "btn south, South\n"
    "end\n"
    ":common\n"
    "end\n"
    ":north\n"
    "pln The road climbs.\n"
    "end\n"
    ":east\n"
    "pln The road bends.\n"
    "end\n"
    ":south\n"
    "pln The road falls.\n"
    "end\n";

struct WalkCase {
  const char* what;
  std::vector<std::uint8_t> keys;
  std::string label;
  std::string text;
};
void PrintTo(const WalkCase& c, std::ostream* os) {
  *os << c.what;
}

class MenuWalk : public ::testing::TestWithParam<WalkCase> {};

// The chosen location's own menu ends the run when the key script runs out.
TEST_P(MenuWalk, TheHighlightWrapsAndEnterTakesIt) {
  const WalkCase& c = GetParam();
  TempDir dir;
  QuestRun run = run_quest(dir, kThreeWays, {.input = [&](ScriptedConsole& con) {
                             for (std::uint8_t k : c.keys)
                               con.add_key(k);
                           }});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.state->current_label, c.label);
  EXPECT_NE(run.output().find(c.text), std::string::npos) << run.output();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MenuWalk,
    ::testing::Values(
        WalkCase{"Enter at once takes the first", {13}, "north", "The road climbs."},
        WalkCase{"Down moves one entry", {80, 13}, "east", "The road bends."},
        WalkCase{
            "Down three times wraps to the first", {80, 80, 80, 13}, "north", "The road climbs."},
        WalkCase{"Up from the first goes to the last", {72, 13}, "south", "The road falls."},
        WalkCase{"h and p walk as the arrows do", {'p', 'p', 'h', 13}, "east", "The road bends."},
        WalkCase{"F1 moves down", {112, 13}, "east", "The road bends."},
        WalkCase{"з and р, where p and h stand on a Russian layout, walk too",
                 {0xA7, 0xA7, 0xE0, 13},
                 "east",
                 "The road bends."},
        WalkCase{"З and Р as well", {0x87, 0x87, 0x90, 13}, "east", "The road bends."},
        WalkCase{"digits and other keys do nothing",
                 {'1', '3', 'x', 37, 39, 0, 13},
                 "north",
                 "The road climbs."}));

TEST(MenuDrawing, HighlightInCursorColourOthersInButtonColour) {
  Interp in(
      "stylebuttoncolor = 31\n"
      "stylecursorcolor = 78\n"
      "pln Pick one.\n"
      "btn north, North\n"
      "btn east, East\n"
      "btn south, South\n"
      "pause 200\n"  // three passes: Down in the first, then two draws with East lit
      "pln after\n"
      "anykey\n");
  in.console().add_keys({80, 0, 0, 'z'});  // 0: no key in that pass; "z" for the anykey
  ASSERT_EQ(in.run_statements(), -1);
  const ScreenModel& screen = in.console().screen();
  EXPECT_EQ(attributes_of(screen, "North"), std::vector<std::uint8_t>(5, 31));
  EXPECT_EQ(attributes_of(screen, "East"), std::vector<std::uint8_t>(4, 78));
  EXPECT_EQ(attributes_of(screen, "South"), std::vector<std::uint8_t>(5, 31));
  EXPECT_EQ(attributes_of(screen, "after"), std::vector<std::uint8_t>(5, 7));
}

TEST(MenuDrawing, TheListStandsBelowTheTextAndTwoEmptyLinesFollowIt) {
  Interp in(
      "pln Pick one.\n"
      "btn north, North\n"
      "btn east, East\n"
      "btn south, South\n"
      "pause 30\n"
      "pln after\n"
      "anykey\n");
  in.console().add_keys({0, 'z'});
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_EQ(in.console().transcript(),
            "Pick one.\n"
            "\n"
            "North\n"
            "East\n"
            "South\n"
            "\n"
            "\n"
            "after\n"
            "\n");
}

struct TimingCase {
  const char* what;
  std::string quest;
  int ticks;
};
void PrintTo(const TimingCase& c, std::ostream* os) {
  *os << c.what;
}

class MenuTiming : public ::testing::TestWithParam<TimingCase> {};

TEST_P(MenuTiming, ATimedMenuRunsItsPassesAndGivesUpEmpty) {
  const TimingCase& c = GetParam();
  Interp in(c.quest + "went = 1\n");
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_EQ(in.console().ticks(), c.ticks);
  EXPECT_EQ(in.s().str_result, "") << "no choice was made";
  EXPECT_EQ(var_value(in.s(), "$went"), 1.0) << "the quest goes on after the pause";
}

INSTANTIATE_TEST_SUITE_P(
    Pauses, MenuTiming,
    ::testing::Values(TimingCase{"pause 1000", "btn a, A\npause 1000\n", 18},
                      TimingCase{"pause 1000 without buttons", "pause 1000\n", 18},
                      TimingCase{"pause 30", "btn a, A\npause 30\n", 1},
                      TimingCase{"pause 1", "btn a, A\npause 1\n", 1},
                      TimingCase{"pause 107", "btn a, A\npause 107\n", 1},
                      TimingCase{"pause 108", "btn a, A\npause 108\n", 2},
                      TimingCase{"pause -5 only shows the text", "btn a, A\npause -5\n", 0}));

TEST(MenuTiming, EnterEndsATimedMenuAtOnce) {
  Interp in(
      "btn a, A\n"
      "btn b, B\n"
      "pause 1000\n"
      "pln not reached\n"
      ":a\n"
      "pln in a\n"
      ":b\n"
      "went = 1\n");
  in.console().add_keys({80, 13});
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_EQ(in.console().ticks(), 2);
  EXPECT_EQ(in.s().current_label, "b");
  EXPECT_EQ(var_value(in.s(), "$went"), 1.0);
}

struct KeyCase {
  std::uint8_t pressed;
  std::uint8_t stored;
};
void PrintTo(const KeyCase& c, std::ostream* os) {
  *os << int(c.pressed);
}

class MenuKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(MenuKeys, TheLastKeyIsKeptLowerCased) {
  Interp in("btn a, A\npause 30\n");
  in.console().add_key(GetParam().pressed);
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_EQ(in.s().last_key, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Codes, MenuKeys,
                         ::testing::Values(KeyCase{72, 104}, KeyCase{80, 112}, KeyCase{'Q', 'q'},
                                           KeyCase{0x80, 0xA0},  // Cyrillic A, CP866
                                           KeyCase{0x98, 0xE8},  // Ш, kept as read, folded
                                           KeyCase{0, 0}));

TEST(MenuInventory, ItemsHeldAreListedWhereTheListWas) {
  Interp in(
      "inv + 3, rope\n"
      "inv + lamp\n"
      "inv_gem = 2.7\n"
      "inv + coin\n"
      "inv - coin\n"
      "inv - mud\n"
      "btn north, North\n"
      "pause 200\n");
  in.console().add_key('I');
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_EQ(in.console().transcript(),
            "3. rope\n"
            "1. lamp\n"
            "2. gem\n"
            "\n"
            "North\n"
            "\n"
            "\n"
            "\n");
}

// ш and Ш stand where i does on a Russian layout.
TEST(MenuInventory, TheRussianLayoutKeyListsTheInventoryToo) {
  for (std::uint8_t key : {std::uint8_t{0xE8}, std::uint8_t{0x98}}) {
    Interp in("inv + rope\nbtn north, North\npause 200\n");
    in.console().add_key(key);
    ASSERT_EQ(in.run_statements(), -1);
    EXPECT_EQ(in.console().transcript().substr(0, 8), "1. rope\n") << int(key);
  }
}

TEST(MenuInventory, ATextThatLooksLikeAnItemIsNotListed) {
  Interp in(
      "instr note = ;gem\n"  // its text slot lies below it: a count of 1 by its look
      "inv + rope\n"
      "btn north, North\n"
      "pause 200\n");
  in.console().add_key('i');
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_EQ(in.console().transcript().substr(0, 8), "1. rope\n");
  EXPECT_EQ(in.console().transcript().find("gem"), std::string::npos);
}

TEST(MenuEmpty, UpAndEnterOnAnEmptyListDoNothing) {
  TempDir dir;
  QuestRun run = run_quest(dir, ":start\npln Nothing here.\nend\n:common\nend\n",
                           {.input = [](ScriptedConsole& c) {
                             c.add_keys({72, 80, 13, 27});
                             c.add_line("");
                           }});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.state->current_label, "");
  EXPECT_NE(run.output().find("Error: [menu] ESC"), std::string::npos) << run.output();
}

TEST(MenuEscape, EscapeIsReportedAndEndsThePlayWithStatusZero) {
  TempDir dir;
  QuestRun run = run_quest(dir, ":start\npln Hello.\nbtn start, Again\nend\n:common\nend\n",
                           {.input = [](ScriptedConsole& c) {
                             c.add_keys({80, 27, 13});
                             c.add_line("");
                           }});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.console->keys_left(), 1u) << "nothing is read after Escape";
  EXPECT_NE(run.output().find("<quest.qst>\n"
                              "Error: [menu] ESC  (STR:5,POS:1,TOKEN:<NEWLN>)\n"
                              "<press enter>"),
            std::string::npos)
      << run.output();
  EXPECT_TRUE(dir.exists("debug.txt"));
}

TEST(MenuCheck, ASyntaxCheckDrawsNothingAndWaitsForNothing) {
  TempDir dir;
  QuestRun run = run_quest(dir, kThreeWays + "pause 1000\n",
                           {.args = {"2", "w", "quest.qst"}, .input = [](ScriptedConsole& c) {
                              c.add_keys({80, 13});
                            }});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output(), "syntax <quest.qst> is checked!\n\n");
  EXPECT_EQ(run.console->keys_left(), 2u);
  EXPECT_EQ(run.console->ticks(), 0);
}

TEST(MenuCheck, TheMenuCallItselfReturnsEmptyAndDropsTheBlock) {
  Interp in("pln Some text.\nbtn north, North\n", 1);
  ASSERT_EQ(in.run_statements(), -1);
  in.console().add_key(13);
  EXPECT_EQ(menu(in.s(), 0), "");
  EXPECT_EQ(in.s().block_count, 0);
  EXPECT_EQ(in.console().keys_left(), 1u);
  EXPECT_EQ(in.console().transcript(), "\n");
}

}  // namespace
}  // namespace tindel::testing
