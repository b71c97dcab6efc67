// Use actions that do more than print: add buttons of their own, wait for a key, or fill
// a page, all while the menu that started them waits to go on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UTypes/eval/var_table.h"
#include "UTypes/state/nesting_guard.h"
#include "support/quest_harness.h"
#include "support/screen_probe.h"

namespace tindel::testing {
namespace {

QuestRun play(const TempDir& dir, const std::string& uses, std::vector<std::uint8_t> keys) {
  return run_quest(dir,
                   ":start\n"
                   "inv + key\n"
                   "pln A locked hall.\n"
                   "btn hall, Stay\n"
                   "end\n"
                   ":common\n"
                   "end\n" +
                       uses +
                       ":hall\n"
                       "pln In the hall.\n",
                   {.input = [keys](ScriptedConsole& c) {
                     for (std::uint8_t k : keys)
                       c.add_key(k);
                   }});
}

// A button added by a use action is an action too: it runs (once) only while its caption
// begins with "u"; any other caption does nothing.
TEST(MenuReentry, AButtonAddedByAnActionRunsOnlyWhileItsCaptionBeginsWithU) {
  TempDir dir;
  QuestRun run = play(dir,
                      ":use_key_try\n"
                      "pln The key fits a small door.\n"
                      "btn door, unlock the small door\n"
                      "btn door, Go through it\n"
                      "end\n"
                      ":door\n"
                      "pln The small door creaks open.\n"
                      "opened = opened + 1\n"
                      "end\n",
                      // u; run use_key_try; run "unlock" twice; "Go through it"; wrap to Stay.
                      {'u', 80, 13, 80, 13, 13, 80, 13, 80, 13});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(var_value(*run.state, "$opened"), 1.0);
  EXPECT_EQ(occurrences(run.output(), "The small door creaks open."), 1) << run.output();
  EXPECT_NE(run.output().find("Stay\n+se_key_try\n+nlock the small door\nGo through it\n"),
            std::string::npos)
      << run.output();
  EXPECT_EQ(run.state->current_label, "hall");
  EXPECT_EQ(run.state->call_depth, 0);
}

TEST(MenuReentry, AnActionWaitsForItsOwnKey) {
  TempDir dir;
  QuestRun run = play(dir,
                      ":use_key_look\n"
                      "pln A small brass key.\n"
                      "anykey k\n"
                      "pln You pressed #k$.\n"
                      "end\n",
                      {'u', 80, 13, 'z', 72, 13});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(var_value(*run.state, "$k"), 122.0);
  EXPECT_NE(run.output().find("A small brass key.\nYou pressed 122.\n"), std::string::npos)
      << run.output();
  EXPECT_EQ(run.state->current_label, "hall");
}

TEST(MenuReentry, AnActionThatFillsAPageEndsItWithNext) {
  TempDir dir;
  QuestRun run =
      play(dir, ":use_key_read\n" + pln_lines(30, "tag") + "end\n", {'u', 80, 13, 13, 72, 13});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(occurrences(run.output(), "[next]"), 1) << run.output();
  EXPECT_NE(run.output().find("tag 30\n"), std::string::npos) << run.output();
  EXPECT_EQ(run.state->current_label, "hall");
  EXPECT_EQ(run.console->keys_left(), 0u);
}


// An action that waits in a menu of its own, where "u" offers the same action again: each
// level is a menu inside the last. Past the bound the quest gets an error report.
QuestRun reenter(const TempDir& dir, int levels) {
  std::vector<std::uint8_t> keys = {'u', 80, 13};
  for (int i = 1; i < levels; ++i)
    keys.insert(keys.end(), {'x', 'u', 13});  // "x" ends pause 1, which empties the list
  return play(dir,
              ":use_key_deeper\n"
              "depth = depth + 1\n"
              "pause 1\n"
              "pause 100000\n"
              "end\n",
              keys);
}

TEST(MenuReentry, MenusInsideActionsAreBounded) {
  TempDir shallow;
  QuestRun run = reenter(shallow, 12);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(var_value(*run.state, "$depth"), 12.0);
  EXPECT_EQ(run.state->menu_depth, 0);
  TempDir deep;
  QuestRun stopped = reenter(deep, kMaxNesting + 3);
  EXPECT_EQ(stopped.status, 1);
  EXPECT_NE(stopped.screen().find("Error: [menu] STACK OUT  (STR:"), std::string::npos)
      << stopped.output();
  EXPECT_EQ(var_value(*stopped.state, "$depth"), static_cast<double>(kMaxNesting));
  EXPECT_TRUE(deep.exists("debug.txt"));
}

}  // namespace
}  // namespace tindel::testing
