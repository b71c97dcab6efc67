// Procedures: where `end` returns to, the call stack's limit, the common location after a
// choice, and returns recorded in a saved game.
#include <gtest/gtest.h>

#include "support/flow_quests.h"

namespace tindel::testing {
namespace {

struct ProcCase {
  const char* what;
  const char* quest;
  std::vector<std::string> shown;
};

class ProcedureReturn : public ::testing::TestWithParam<ProcCase> {};

TEST_P(ProcedureReturn, GoesOnWhereTheCallerStopped) {
  TempDir dir;
  QuestRun run = play(dir, GetParam().quest);
  EXPECT_EQ(shown_lines(run.output()), GetParam().shown) << run.output();
}

INSTANTIATE_TEST_SUITE_P(
    Quests, ProcedureReturn,
    ::testing::Values(
        ProcCase{"backward and forward",
                 "goto start\n:early\npln in early\nend\n"
                 ":start\nproc early\npln after early\nproc late\npln after late\nend\n"
                 ":late\npln in late\nend\n",
                 {"in early", "after early", "in late", "after late"}},
        ProcCase{"a goto inside a procedure keeps the return line",
                 "goto start\n:start\nproc helper\npln back\nend\n"
                 ":helper\ngoto elsewhere\npln never\n:elsewhere\npln elsewhere\nend\n",
                 {"elsewhere", "back"}},
        ProcCase{"nested calls unwind in order",
                 "proc a\npln top\nend\n:a\nproc b\npln a done\nend\n:b\npln in b\nend\n",
                 {"in b", "a done", "top"}},
        ProcCase{"a comment after proc keeps the line-based return",
                 "proc helper ; call it\npln next line\nend\n:helper\npln in helper\nend\n",
                 {"in helper", "next line"}},
        ProcCase{"proc not last on its line returns right after itself",
                 "proc helper & pln after\npln next line\nend\n:helper\npln in helper\nend\n",
                 {"in helper", "after", "next line"}},
        ProcCase{"a keyword right after the procedure's label",
                 "proc helper pln after\npln next line\nend\n:helper\npln in helper\nend\n",
                 {"in helper", "after", "next line"}},
        ProcCase{"two procs on one line",
                 "proc one & proc two\npln both\nend\n:one\npln 1\nend\n:two\npln 2\nend\n",
                 {"1", "2", "both"}},
        ProcCase{"a proc that ends the quest without line end returns after itself",
                 "goto start\n:helper\npln in helper\nend\n:start\nproc helper",
                 {"in helper"}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(ProcedureLimit, The1025thOpenCallIsRefused) {
  TempDir dir;
  QuestRun run = play(dir, ":deep\nproc deep\n", {.lines = {""}});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(holds(run.output(), "Error: [call] STACK OUT  (STR:3,")) << run.output();
  EXPECT_EQ(run.state->call_depth, 1025);
  EXPECT_EQ(run.state->call_stack[1024], 3);
  // 1024 calls jumped; the refused one did not.
  TempDir second;
  QuestRun counted = play(second, ":deep\nif deep < 1024 then proc deep\npln depth #deep$\nend\n");
  EXPECT_EQ(counted.status, 0);
  EXPECT_TRUE(holds(counted.output(), "depth 1024")) << counted.output();
}

const char* const kRooms =
    ":start\n"
    "pln at start\n"
    "btn room, Go\n"
    "end\n"
    ":room\n"
    "pln in room #room$\n"
    "end\n";

TEST(CommonLocation, RunsAfterEveryChoiceBeforeTheLocation) {
  TempDir dir;
  QuestRun run = play(dir, std::string(kRooms) + ":common\npln common ran\nend\n", {.keys = {13}});
  EXPECT_EQ(shown_lines(run.output()),
            (std::vector<std::string>{"at start", "Go", "common ran", "in room 1"}));
  EXPECT_EQ(run.state->current_label, "room");
}

TEST(CommonLocation, CommonTwoRunsTheNumberedLocation) {
  TempDir dir;
  QuestRun run = play(dir,
                      std::string("common = 2\n") + kRooms +
                          ":common\npln plain common\nend\n:common_2\npln second common\nend\n",
                      {.keys = {13}});
  EXPECT_EQ(shown_lines(run.output()),
            (std::vector<std::string>{"at start", "Go", "second common", "in room 1"}));
}

TEST(CommonLocation, AGotoInsideItStillReturnsToTheChosenLocation) {
  TempDir dir;
  QuestRun run =
      play(dir, std::string(kRooms) + ":common\ngoto side\n:side\npln side\nend\n", {.keys = {13}});
  EXPECT_EQ(shown_lines(run.output()),
            (std::vector<std::string>{"at start", "Go", "side", "in room 1"}));
}

TEST(CommonLocation, WithoutItTheFirstChoiceStops) {
  TempDir dir;
  QuestRun run = play(dir, kRooms, {.keys = {13}, .lines = {""}});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(holds(run.output(), "Error: [gotolabel] label <common> not found")) << run.output();
  EXPECT_FALSE(holds(run.output(), "in room"));
}

// An item's use action runs as a procedure inside the menu; when a timed menu then runs out,
// the quest goes on after the pause as if nothing had been called.
TEST(UseAction, RunsInsideAPauseAndTheQuestGoesOnAfterIt) {
  TempDir dir;
  QuestRun run = play(dir,
                      ":start\n"
                      "inv + lamp\n"
                      "btn room, Go\n"
                      "pause 3000\n"
                      "pln after the pause\n"
                      "end\n"
                      ":use_lamp_light\n"
                      "pln the lamp is lit\n"
                      "end\n"
                      ":room\n"
                      "end\n"
                      ":common\n"
                      "end\n",
                      {.keys = {'u', 'p', 13}});
  std::string out = run.output();
  ASSERT_TRUE(holds(out, "the lamp is lit")) << out;
  EXPECT_LT(out.find("the lamp is lit"), out.find("after the pause")) << out;
  EXPECT_EQ(count_of(out, "after the pause"), 1) << out;
  EXPECT_EQ(run.state->call_depth, 0);
}

// A game saved inside a procedure keeps its return line; the quest used for the resume may
// differ from the one that was saved.
const char* const kSavedInProcedure =
    "goto start\n"         // 1
    ":start\n"             // 2
    "proc helper\n"        // 3
    "pln back in start\n"  // 4: the return line
    "end\n"                // 5
    ":helper\n"            // 6
    "save inside\n"        // 7
    "end\n"                // 8
    ":inside\n"            // 9
    "pln resumed\n"        // 10
    "end\n"                // 11
    ":common\n"
    "pln common ran\n"
    "end\n";

TEST(ResumedCall, TheSavedReturnLineTakesEffectAtTheNextEnd) {
  TempDir dir;
  play(dir, kSavedInProcedure);
  ASSERT_TRUE(dir.exists("save.txt"));
  for (const char* mode : {"1", "6"}) {
    QuestRun run = play(dir, kSavedInProcedure, {.args = {mode, "w", "quest.qst"}});
    EXPECT_EQ(shown_lines(run.output()), (std::vector<std::string>{"resumed", "back in start"}))
        << mode << "\n"
        << run.output();
    EXPECT_EQ(run.state->current_label, "inside");
  }
}

TEST(ResumedCall, AReturnLineBeyondTheQuestEndIsReported) {
  TempDir dir;
  play(dir, kSavedInProcedure);
  QuestRun run =
      play(dir, "pln short\n:inside\nend", {.lines = {""}, .args = {"1", "w", "quest.qst"}});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(holds(run.output(), "Error: [end] return line <4> not found")) << run.output();
}

}  // namespace
}  // namespace tindel::testing
