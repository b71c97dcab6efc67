// The statement interpreter as a player meets it: conditions and their else lines, buttons,
// keys and typed lines, timed menus, the screen, and the errors and warnings of a check.
#include <gtest/gtest.h>

#include "UTypes/console/scripted/scripted_console.h"
#include "UTypes/state/program_end.h"
#include "support/flow_quests.h"

namespace tindel::testing {
namespace {

using Lines = std::vector<std::string>;

struct PlayCase {
  const char* what;
  std::string quest;
  Lines shown;
};

class Conditions : public ::testing::TestWithParam<PlayCase> {};

TEST_P(Conditions, RunTheBranchThatHolds) {
  TempDir dir;
  QuestRun run = play(dir, GetParam().quest);
  EXPECT_EQ(shown_lines(run.output()), GetParam().shown) << run.output();
}

std::string with_a(const char* value, const char* rest) {
  return std::string("a = ") + value + "\n" + rest;
}

const char* const kElseAcrossLines =
    "if a > 1 then pln big & pln bigger\n"
    "\n"
    "   ; a comment\n"
    ":a label line\n"
    "else pln small & pln smaller\n"
    "pln done\n";

const char* const kElseOnOneLine = "if a > 1 then pln big & else pln small\npln done\n";

INSTANTIATE_TEST_SUITE_P(
    Quests, Conditions,
    ::testing::Values(
        PlayCase{"then part", with_a("2", kElseAcrossLines), {"big", "bigger", "done"}},
        PlayCase{"else part", with_a("0", kElseAcrossLines), {"small", "smaller", "done"}},
        PlayCase{"else on the if line, false", with_a("0", kElseOnOneLine), {"done"}},
        PlayCase{"else on the if line, true", with_a("2", kElseOnOneLine), {"big", "done"}},
        PlayCase{"no else line", with_a("0", "if a then pln a\npln b\n"), {"b"}},
        PlayCase{
            "then at the line end", with_a("0", "if a then\nelse pln no\npln b\n"), {"no", "b"}},
        PlayCase{"nested, inner false", "if 1 then if 0 then pln x & pln y\npln done\n", {"done"}},
        PlayCase{"nested, both true",
                 "if 1 then if 1 then pln x & pln y\npln done\n",
                 {"x", "y", "done"}},
        PlayCase{"half is true", "if 0.5 then pln half\npln done\n", {"half", "done"}},
        PlayCase{"negative is false", "if 0 - 1 then pln minus\npln done\n", {"done"}},
        PlayCase{"keywords in any case", "IF 1 Then PLN upper\n", {"upper"}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

struct ErrorCase {
  const char* what;
  const char* quest;
  const char* mode;
  const char* message;  // the report expected, or "" when the quest runs through
};

class StatementErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(StatementErrors, ReportOrRunThrough) {
  TempDir dir;
  const ErrorCase& c = GetParam();
  QuestRun run = play(dir, c.quest, {.lines = {""}, .args = {c.mode, "w", "quest.qst"}});
  if (*c.message == '\0') {
    EXPECT_EQ(run.status, 0) << run.output();
    EXPECT_FALSE(holds(run.output(), "Error:")) << run.output();
  } else {
    EXPECT_EQ(run.status, 1) << run.output();
    EXPECT_TRUE(holds(run.output(), std::string("Error: ") + c.message)) << run.output();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Quests, StatementErrors,
    ::testing::Values(
        ErrorCase{"false then part skipped in play", "if 0 then goto\n", "0", ""},
        ErrorCase{"false then part examined in a check", "if 0 then goto\n", "2",
                  "[gotolabel] LABELNAME expected  (STR:2,"},
        ErrorCase{"else part examined in a check", "if 1 then pln a\nelse goto\n", "2",
                  "[gotolabel] LABELNAME expected  (STR:3,"},
        ErrorCase{"missing then, condition false, play", "if 0 pln x\n", "0", ""},
        ErrorCase{"missing then, condition true, play", "if 1 pln x\n", "0",
                  "[if] \"THEN\" expected  (STR:1,POS:9,TOKEN:pln)"},
        ErrorCase{"missing then in a check", "if 0 pln x\n", "2", "[if] \"THEN\" expected"},
        ErrorCase{"button without comma", "btn room Go\n", "0",
                  "[btn] \",\" expected  (STR:2,POS:0,TOKEN:<NEWLN>)"},
        ErrorCase{"input without name", "input\n", "0",
                  "[input] IDENT expected  (STR:2,POS:0,TOKEN:<NEWLN>)"},
        ErrorCase{"a statement that begins with an operator", ", x\n", "0",
                  "[parser] UNKNOW command  (STR:1,POS:2,TOKEN:,)"},
        ErrorCase{"a bare name", "pln a\nhello\n", "2", "[parser] \"=\" expected  (STR:3,"},
        ErrorCase{"a bare name after then", "if 1 then hello & pln x\n", "0",
                  "[parser] \"=\" expected  (STR:1,POS:18,TOKEN:&)"},
        ErrorCase{"a bare name after a skipped line", "if 0 then pln x\nhello\n", "0",
                  "[parser] \"=\" expected  (STR:3,"},
        ErrorCase{"the operands that end statements are not bare names",
                  "x = 5\ninput n\ninv + rope\ninvkill rope\nperkill x\ncommon = 0\n"
                  "music = 0\npause 0 - 1 & pln done\n",
                  "0", ""}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(CheckWarnings, ElseColumnAndProcNotLastOnItsLine) {
  TempDir dir;
  QuestRun run = play(dir,
                      ":start\n"                                  // 1
                      "if 1 then pln a\n"                         // 2
                      " else pln b\n"                             // 3
                      "else pln c\n"                              // 4
                      "proc helper & pln x\n"                     // 5
                      "proc helper\n"                             // 6
                      "if a > 1 then pln big & else pln small\n"  // 7
                      "proc helper ; a comment\n"                 // 8
                      "end\n"
                      ":helper\n"
                      "end\n"
                      ":common\n"
                      "end\n",
                      {.args = {"3", "w", "quest.qst"}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(shown_lines(run.output()),
            (Lines{"warning: STR 3,  <ELSE>  pos(6)", "warning: STR 5,  <PROC>",
                   "warning: STR 7,  <ELSE>  pos(29)", "syntax <quest.qst> is checked!"}));
}

TEST(CheckWarnings, TheTwentySixthButtonIsTooMany) {
  std::string quest = ":start\n";  // the buttons stand on lines 2 to 27
  for (int i = 1; i <= 26; ++i)
    quest += "btn start, Button " + std::to_string(i) + "\n";
  TempDir dir;
  QuestRun run = play(dir, quest + "end\n:common\nend\n", {.args = {"3", "w", "quest.qst"}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(count_of(run.output(), "TOO LARGE MENU LIST"), 1) << run.output();
  EXPECT_TRUE(holds(run.output(), "warning: STR 28,  TOO LARGE MENU LIST\n")) << run.output();
  EXPECT_EQ(run.state->btn_labels[25].str(), "start");
  EXPECT_EQ(run.state->btn_captions[25].str(), "Button 26");
}

TEST(Buttons, LabelWrittenWithBlanksMatchesTheLabelLine) {
  TempDir dir;
  QuestRun run = play(dir,
                      ":start\nbtn Go Home, Go home\nend\n"
                      ":go home\npln at home\nend\n:common\nend\n",
                      {.keys = {13}});
  EXPECT_EQ(shown_lines(run.output()), (Lines{"Go home", "at home"}));
  EXPECT_EQ(run.state->current_label, "gohome");
  EXPECT_EQ(run.state->btn_count, 0);
}

TEST(Keys, AnykeyStoresTheKeyCodeAfterShowingTheText) {
  TempDir dir;
  QuestRun run = play(dir, "pln press a key\nanykey k\npln key #k$\nanykey\npln last #k$\n",
                      {.keys = {'x', 'Q'}});
  EXPECT_EQ(shown_lines(run.output()), (Lines{"press a key", "key 120", "last 120"}));
  EXPECT_EQ(run.state->last_key, 'Q');
}

TEST(Keys, ACheckWaitsForNoKey) {
  TempDir dir;
  QuestRun run =
      play(dir, "anykey k\ninput n\npause 0\npln done\n", {.args = {"2", "w", "quest.qst"}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(shown_lines(run.output()), (Lines{"syntax <quest.qst> is checked!"}));
}

TEST(TypedInput, NumberAskedAgainUntilOneIsTyped) {
  TempDir dir;
  QuestRun run = play(dir, "input n\npln got #n * 2$\n", {.lines = {"abc", "", "4x", " 21 "}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(shown_lines(run.output()), (Lines{"abc", "4x", " 21", "got 42"}));
}

TEST(TypedInput, AnyLineIntoAStringVariable) {
  TempDir dir;
  std::string long_line(70, 'z');
  QuestRun run = play(dir,
                      "instr name = nobody\ninput name\npln hi #%name$\n"
                      "instr long = x\ninput long\npln #strlen #%long$&$\n",
                      {.lines = {"Bob Smith", long_line}});
  Lines shown = shown_lines(run.output());
  ASSERT_EQ(shown.size(), 4u) << run.output();
  EXPECT_EQ(shown[1], "hi Bob Smith");
  EXPECT_EQ(shown[3], "63");
}

const char* const kPauseRooms =
    ":start\n"
    "btn room, Go\n"
    "pause 3000\n"
    "pln time ran out #btncount$\n"
    "end\n"
    ":room\n"
    "pln in room\n"
    "end\n"
    ":common\n"
    "pln common ran\n"
    "end\n";

TEST(Pause, AChoiceJumpsWithoutTheCommonLocation) {
  TempDir dir;
  QuestRun run = play(dir, kPauseRooms, {.keys = {0, 0, 13}});
  EXPECT_EQ(shown_lines(run.output()), (Lines{"Go", "in room"}));
  EXPECT_EQ(run.state->current_label, "room");
  EXPECT_EQ(run.console->ticks(), 3);
}

TEST(Pause, TimeRunningOutGoesOnAfterIt) {
  TempDir dir;
  QuestRun run = play(dir, kPauseRooms);
  EXPECT_EQ(shown_lines(run.output()), (Lines{"Go", "time ran out 0"}));
  EXPECT_EQ(run.console->ticks(), 3000 / 54);
  EXPECT_EQ(run.state->btn_count, 0);
  EXPECT_EQ(run.state->current_label, "");
}

TEST(Pause, LengthsDecideTheWait) {
  struct Case {
    const char* quest;
    int ticks;
  } cases[] = {
      {"pln a\npause 1000\npln b\n", 1000 / 54},  // without buttons it only waits
      {"pln a\npause 30\npln b\n", 1},            // at least one pass
      {"pln a\npause 0 - 5\npln b\n", 0},         // negative: shows the text and goes on
  };
  for (const Case& c : cases) {
    TempDir dir;
    QuestRun run = play(dir, c.quest);
    EXPECT_EQ(shown_lines(run.output()), (Lines{"a", "b"})) << c.quest;
    EXPECT_EQ(run.console->ticks(), c.ticks) << c.quest;
  }
}

// A harness playing strangers' quests (the fuzz targets) ends a wait of days at its bound.
TEST(Pause, ATickLimitEndsTheRunInsteadOfALongWait) {
  ScriptedConsole console;
  console.limit_ticks(5);
  for (int i = 0; i < 5; ++i)
    console.menutick();
  EXPECT_THROW(console.menutick(), ProgramEnd);
  EXPECT_EQ(console.ticks(), 5);
}

TEST(Pause, ZeroWaitsForAChoiceWithoutLimit) {
  TempDir dir;
  std::string quest = kPauseRooms;
  quest.replace(quest.find("3000"), 4, "0");
  QuestRun run = play(dir, quest, {.keys = {'x', 'p', 13}});
  EXPECT_EQ(shown_lines(run.output()), (Lines{"Go", "in room"}));
  EXPECT_EQ(run.console->ticks(), 0);
}

TEST(ClearScreen, ClearsInTheTextColourAndKeepsTheTextBlock) {
  TempDir dir;
  QuestRun run = play(dir, "pln before\nstyletextcolor = 30\ncls\npln after\n");
  const ScreenModel& screen = run.console->screen();
  EXPECT_EQ(screen.row_text(0), "before");
  EXPECT_EQ(screen.row_text(1), "after");
  EXPECT_EQ(screen.at(0, 0).attr, 7);  // printed before the colour changed
  EXPECT_EQ(screen.at(0, 1).attr, 30);
  EXPECT_EQ(screen.at(40, 20).attr, 30);  // the cleared screen
}

// Each line: the line and token at which the next statement begins, the operand text before
// that token and the last text read.
TEST(Trace, OneLinePerStatementInModesFourAndFive) {
  const char* quest =
      ":start\n"
      "x = 1\n"
      "pln hi & end\n"
      ":common\n"
      "end\n";
  const std::string played =
      "2: = _ x _  _ \r\n"
      "3: <NEWLN> _ 1 _  _ \r\n"
      "3: pln _  _  _ \r\n"
      "3: & _  _ hi  _ \r\n"
      "4: end _  _ hi  _ \r\n";
  const std::string checked = played +
                              "4: <NEWLN> _  _  _ \r\n"  // end: the menu returns at once
                              "5: <NEWLN> _  _  _ \r\n"  // the label line stepped over
                              "6: end _  _  _ \r\n"
                              "6: <NEWLN> _  _  _ \r\n"
                              "6: <EOF> _  _  _ \r\n";
  TempDir play_dir;
  play(play_dir, quest, {.args = {"5", "w", "quest.qst"}});
  EXPECT_EQ(play_dir.read("log.txt"), played);
  TempDir check_dir;
  play(check_dir, quest, {.args = {"4", "w", "quest.qst"}});
  EXPECT_EQ(check_dir.read("log.txt"), checked);
}

TEST(Trace, ModeSixTracesTheResumedGame) {
  TempDir dir;
  const char* quest = ":start\nbtn room, Go\nsave room\nend\n:room\npln in room\nend\n";
  play(dir, quest);
  ASSERT_TRUE(dir.exists("save.txt"));
  QuestRun run = play(dir, quest, {.args = {"6", "w", "quest.qst"}});
  EXPECT_TRUE(holds(run.output(), "in room"));
  EXPECT_EQ(dir.read("log.txt"),
            "6: pln _  _  _ \r\n7: <NEWLN> _  _ in room _ \r\n"
            "8: end _  _ in room _ \r\n");
}

}  // namespace
}  // namespace tindel::testing
