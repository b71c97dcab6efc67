// Item-use actions in the menu: "u" appends the use_<item> labels of the items held, and
// choosing one runs it once as a procedure inside the menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UTypes/console/menu.h"
#include "UTypes/eval/var_table.h"
#include "support/quest_harness.h"
#include "support/screen_probe.h"

namespace tindel::testing {
namespace {

// A lamp and a rope are held; the key is not. The rope's label stands between the lamp's.
const std::string kShed =
    ":start\n"
    "inv + lamp\n"
    "inv + 2, rope\n"
    "pln A dark shed.\n"
    "btn yard, Leave\n"
    "end\n"
    ":common\n"
    "end\n"
    ":use_lamp_light\n"
    "pln The lamp glows.\n"
    "glow = glow + 1\n"
    "stylebuttoncolor = 31\n"
    "end\n"
    ":use_rope_tie\n"
    "pln You tie a knot.\n"
    "end\n"
    ":use_lamp_drop\n"
    "pln You drop the lamp.\n"
    "end\n"
    ":use_lamps_fix\n"
    "pln Fixed.\n"
    "end\n"
    ":use_key_turn\n"
    "pln The key turns.\n"
    "end\n"
    ":yard\n"
    "pln The yard is quiet.\n";

QuestRun play_shed(const TempDir& dir, std::vector<std::uint8_t> keys) {
  return run_quest(dir, kShed, {.input = [keys](ScriptedConsole& c) {
                     for (std::uint8_t k : keys)
                       c.add_key(k);
                   }});
}

TEST(MenuUse, UAppendsEveryUseLabelOfTheItemsHeldInSlotThenFileOrder) {
  TempDir dir;
  QuestRun run = play_shed(dir, {'u', 13});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output().find("Leave\n"
                              "use_lamp_light\n"
                              "use_lamp_drop\n"
                              "use_lamps_fix\n"
                              "use_rope_tie\n"
                              "\n"
                              "\n"
                              "The yard is quiet.\n"),
            std::string::npos)
      << run.output();
  EXPECT_EQ(run.output().find("use_key_turn"), std::string::npos);
  EXPECT_EQ(run.state->current_label, "yard");
}

struct AddCase {
  const char* what;
  std::vector<std::uint8_t> keys;
};
void PrintTo(const AddCase& c, std::ostream* os) {
  *os << c.what;
}

class MenuUseOnce : public ::testing::TestWithParam<AddCase> {};

// Whichever way "u" comes, the four actions are appended once: Up from the first entry
// reaches the last of five (use_rope_tie), whose run shows its text; Down wraps to Leave.
TEST_P(MenuUseOnce, TheActionsAreAppendedOncePerMenu) {
  TempDir dir;
  QuestRun run = play_shed(dir, GetParam().keys);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(occurrences(run.output(), "use_lamp_light"), 1) << run.output();
  EXPECT_NE(run.output().find("You tie a knot."), std::string::npos) << run.output();
  EXPECT_NE(run.output().find("+se_rope_tie"), std::string::npos) << run.output();
}

INSTANTIATE_TEST_SUITE_P(Keys, MenuUseOnce,
                         ::testing::Values(AddCase{"u twice", {'u', 'u', 72, 13, 80, 13}},
                                           AddCase{"U and F6", {'U', 117, 72, 13, 80, 13}},
                                           AddCase{"г and Г, u on a Russian layout",
                                                   {0xA3, 0x83, 72, 13, 80, 13}}));

TEST(MenuUse, AnActionRunsOnceShowsItsTextAndIsMarkedWithAPlus) {
  TempDir dir;
  // u, Down to use_lamp_light, Enter runs it, Enter again does nothing, Up, Enter leaves.
  QuestRun run = play_shed(dir, {'u', 80, 13, 13, 72, 13});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(var_value(*run.state, "$glow"), 1.0);
  EXPECT_EQ(occurrences(run.output(), "The lamp glows."), 1) << run.output();
  EXPECT_NE(run.output().find("The lamp glows.\n\nLeave\n+se_lamp_light\nuse_lamp_drop\n"),
            std::string::npos)
      << run.output();
  EXPECT_NE(run.output().find("The yard is quiet."), std::string::npos);
  EXPECT_EQ(run.state->current_label, "yard");
}

TEST(MenuUse, AnActionThatChangesAColourRecoloursTheNextPass) {
  TempDir dir;
  QuestRun run = play_shed(dir, {'u', 80, 13, 72, 13});
  const ScreenModel& screen = run.console->screen();
  EXPECT_EQ(attributes_of(screen, "use_lamp_drop"), std::vector<std::uint8_t>(13, 31));
  EXPECT_EQ(attributes_of(screen, "Leave"), std::vector<std::uint8_t>(5, 126));
}

TEST(MenuUse, WithoutButtonsAnActionCanStillBeRunAndEscapeLeaves) {
  TempDir dir;
  QuestRun run = run_quest(dir,
                           ":start\n"
                           "inv + lamp\n"
                           "pln Nowhere to go.\n"
                           "end\n"
                           ":common\n"
                           "end\n"
                           ":use_lamp_light\n"
                           "pln The lamp glows.\n"
                           "glow = glow + 1\n"
                           "end\n",
                           {.input = [](ScriptedConsole& c) {
                             c.add_keys({72, 13, 'u', 13, 13, 27});
                             c.add_line("");
                           }});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(var_value(*run.state, "$glow"), 1.0);
  EXPECT_NE(run.output().find("Error: [menu] ESC"), std::string::npos) << run.output();
}

TEST(MenuUse, ATimedMenuRunsAnActionAndGoesOnCounting) {
  Interp in(
      "inv + lamp\n"
      "btn north, North\n"
      "pause 200\n"
      "went = 1\n"
      "goto fin\n"
      ":use_lamp_light\n"
      "glow = glow + 1\n"
      "end\n"
      ":fin\n");
  in.console().add_keys({'u', 80, 13});
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_EQ(var_value(in.s(), "$glow"), 1.0);
  EXPECT_EQ(var_value(in.s(), "$went"), 1.0);
  EXPECT_EQ(in.console().ticks(), 3);
  EXPECT_EQ(in.s().call_depth, 0);
}

TEST(MenuUse, TheListHoldsAtMost25Entries) {
  std::string quest = "inv + lamp\n";
  for (int i = 1; i <= 22; ++i)
    quest += "btn north, Road " + std::to_string(i) + "\n";
  quest += "pause 60\ngoto fin\n";
  for (const char* verb : {"a", "b", "c", "d", "e"})
    quest += std::string(":use_lamp_") + verb + "\nend\n";
  Interp in(quest + ":fin\n");
  in.console().add_key('u');
  ASSERT_EQ(in.run_statements(), -1);
  // The pause has set the count back to 0; the entries it appended are still stored.
  std::vector<std::string> labels;
  for (int i = 0; i < 26; ++i)
    labels.push_back(in.s().btn_labels[static_cast<std::size_t>(i)].str());
  EXPECT_EQ(labels[22], "use_lamp_a");
  EXPECT_EQ(labels[24], "use_lamp_c");
  EXPECT_EQ(labels[25], "");
}

}  // namespace
}  // namespace tindel::testing
