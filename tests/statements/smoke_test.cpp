#include <gtest/gtest.h>

#include "support/quest_harness.h"

namespace tindel::testing {

TEST(Smoke, AQuestPlaysToItsChoiceAndTheCommonLocation) {
  TempDir dir;
  QuestRun run = run_quest(dir,
                           ":start\n"
                           "pln Hello #2+3$\n"
                           "btn room, Go\n"
                           "end\n"
                           ":room\n"
                           "pln In the room, visit #room$\n"
                           "end\n"
                           ":common\n"
                           "end\n",
                           {.input = [](ScriptedConsole& c) { c.add_keys({13, 27}); c.add_line(""); }});
  EXPECT_EQ(run.status, 0);  // Escape at the second menu: the report, then the player's own quit
  EXPECT_NE(run.output().find("Hello 5"), std::string::npos) << run.output();
  EXPECT_NE(run.output().find("In the room, visit 1"), std::string::npos) << run.output();
  EXPECT_NE(run.output().find("[menu] ESC"), std::string::npos);
}

}  // namespace tindel::testing
