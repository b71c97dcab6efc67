// Start-up: the banner, the command line and its run modes, the quest file's name, the trace
// file, resuming a saved game, and how each kind of run ends.
#include "program/startup.h"

#include <gtest/gtest.h>

#include "support/flow_quests.h"

namespace tindel::testing {
namespace {

using Lines = std::vector<std::string>;

const Lines kBannerAndUsage = {
    "Tindel v0.0.9",
    "usage: tindel <mode> <codepage> <file_name.qst>",
    "mode: 0 - play; 1 - load_game; 2 - check syntax; 3 - check syntax and labels",
    "<codepage> - w / d",
    "examples: tindel 0 w stackle.qst",
    "          tindel 3 w pinewick.qst",
    "          tindel 0 d hopplet.qst",
};

// A quest in the Windows code page: "pln " and the letters A and a of the Cyrillic alphabet.
const std::string kWindowsQuest = "pln \xC0\xE0\n";
const std::string kConvertedText = "\x80\xA0";  // the same letters in the DOS code page
const std::string kUnconvertedText = "\xC0\xE0";

// Runs the program in dir without writing a quest first.
QuestRun run_without_quest(const std::vector<std::string>& args) {
  QuestRun run;
  run.console->add_line("");
  RunResult result = run_program(*run.state, args, {*run.console, run.media, 1});
  run.status = result.status;
  return run;
}

TEST(Startup, BannerAndUsageComeFirstInEveryMode) {
  for (const char* mode : {"0", "2", "3", "5"}) {
    TempDir dir;
    QuestRun run = play(dir, "pln text\n", {.args = {mode, "w", "quest.qst"}});
    Lines shown = shown_lines(run.screen());
    ASSERT_GE(shown.size(), kBannerAndUsage.size()) << mode;
    EXPECT_EQ(Lines(shown.begin(), shown.begin() + 7), kBannerAndUsage) << mode;
    EXPECT_EQ(run.console->title(), "Tindel");
  }
}

TEST(Startup, WithoutParametersTheDefaultQuestIsPlayedInCodePageW) {
  TempDir dir;
  dir.write("stackle.qst", crlf(kWindowsQuest));
  QuestRun run = run_without_quest({});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(shown_lines(run.output()), (Lines{kConvertedText}));
}

struct ParameterCase {
  const char* what;
  std::vector<std::string> args;
  std::int32_t syntax_level;
  bool codepage_w;
  const char* quest_name;
};

class Parameters : public ::testing::TestWithParam<ParameterCase> {};

TEST_P(Parameters, SelectModeCodePageAndQuest) {
  const ParameterCase& c = GetParam();
  TempDir dir;
  dir.write(c.quest_name, crlf(":start\n" + kWindowsQuest + "end\n:common\nend\n"));
  QuestRun run = run_without_quest(c.args);
  EXPECT_EQ(run.status, 0) << run.output();
  EXPECT_EQ(run.state->quest_name, c.quest_name);
  EXPECT_EQ(run.state->syntax_level, c.syntax_level);
  EXPECT_EQ(run.state->codepage_w, c.codepage_w);
  bool checked = holds(run.output(), std::string("syntax <") + c.quest_name + "> is checked!");
  EXPECT_EQ(checked, c.syntax_level != 0) << run.output();
  if (c.syntax_level == 0) {
    EXPECT_TRUE(holds(run.output(), c.codepage_w ? kConvertedText : kUnconvertedText));
  }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, Parameters,
    ::testing::Values(
        ParameterCase{"play", {"0", "w", "a.qst"}, 0, true, "a.qst"},
        ParameterCase{"code page d", {"0", "d", "a.qst"}, 0, false, "a.qst"},
        ParameterCase{"check", {"2", "w", "a.qst"}, 1, true, "a.qst"},
        ParameterCase{"check labels", {"3", "w", "a.qst"}, 2, true, "a.qst"},
        ParameterCase{"upper-case D is not d", {"3", "D", "x"}, 2, true, "x"},
        ParameterCase{"two parameters play the default", {"2", "d"}, 0, true, "stackle.qst"},
        ParameterCase{"four parameters play the default",
                      {"2", "d", "a.qst", "more"},
                      0,
                      true,
                      "stackle.qst"},
        ParameterCase{"an unknown mode plays", {"7", "x", "a.qst"}, 0, true, "a.qst"},
        ParameterCase{"a mode compared whole", {"02", "w", "a.qst"}, 0, true, "a.qst"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(Startup, AMissingQuestIsReportedAndNothingIsWritten) {
  TempDir dir;
  QuestRun run = run_without_quest({"0", "w", "missing.qst"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(shown_lines(run.output()), (Lines{"file <missing.qst> not found"}));
  EXPECT_FALSE(dir.exists("debug.txt"));
  EXPECT_FALSE(dir.exists("log.txt"));
}

TEST(Startup, TraceFileIsCreatedBeforeTheQuestOpensOnlyInModesFourAndFive) {
  struct Case {
    const char* mode;
    bool log_exists;
  } cases[] = {{"4", true}, {"5", true}, {"6", false}, {"2", false}};
  for (const Case& c : cases) {
    TempDir dir;
    dir.write("log.txt", "an old trace");
    QuestRun run = run_without_quest({c.mode, "w", "missing.qst"});
    EXPECT_EQ(run.status, 1) << c.mode;
    EXPECT_TRUE(holds(run.output(), "file <missing.qst> not found")) << c.mode;
    EXPECT_EQ(dir.read("log.txt"), c.log_exists ? "" : "an old trace") << c.mode;
  }
}

// bytes of 32 and above are stored as 287 minus their value
std::string encoded(const std::string& text) {
  std::string out;
  for (char c : crlf(text)) {
    auto b = static_cast<unsigned char>(c);
    out.push_back(static_cast<char>(b >= 32 ? 287 - b : b));
  }
  return out;
}

TEST(Startup, OnlyANameWhoseFirstDotBeginsQs1IsDecoded) {
  struct Case {
    const char* name;
    bool encoded;
  } cases[] = {
      {"a.qs1", true}, {"a.qs1.old", true}, {"a.b.qs1", false}, {"X.QS1", false}, {"qs1", false}};
  for (const Case& c : cases) {
    TempDir dir;
    dir.write(c.name, c.encoded ? encoded("pln hello\n") : crlf("pln hello\n"));
    QuestRun run = run_without_quest({"0", "w", c.name});
    EXPECT_EQ(run.state->qs1_file, c.encoded) << c.name;
    EXPECT_EQ(shown_lines(run.output()), (Lines{"hello"})) << c.name;
  }
}

TEST(Startup, AnErrorInACheckEndsItWithTheReportAndDebugFile) {
  TempDir dir;
  QuestRun run =
      play(dir, "pln a\nif 1 pln b\npln c\n", {.lines = {""}, .args = {"2", "w", "quest.qst"}});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(shown_lines(run.output()),
            (Lines{"<quest.qst>", "Error: [if] \"THEN\" expected  (STR:2,POS:9,TOKEN:pln)",
                   "<press enter>"}));
  EXPECT_TRUE(holds(dir.read("debug.txt"), "Error: [if] \"THEN\" expected"));
}

TEST(Startup, PlayRunningOffTheQuestEndShowsItsTextAndEnds) {
  TempDir dir;
  QuestRun run = play(dir, "pln first\np second");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(shown_lines(run.output()), (Lines{"first", "second"}));
}

TEST(Startup, EscapeAtALineEndIsThePlayersOwnQuit) {
  TempDir dir;
  RunOptions options;
  options.input = [](ScriptedConsole& console) {
    console.add_break_key(0);
    console.add_break_key(27);
    console.add_line("");
  };
  QuestRun run = run_quest(dir, "pln a\npln b\npln c\npln d\n", options);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(holds(run.output(), "Error: [getchar] BREAK  (STR:3,POS:0,")) << run.output();
  EXPECT_TRUE(dir.exists("debug.txt"));
}

const char* const kSavingQuest =
    ":start\n"
    "pln at start\n"
    "btn room, Go\n"
    "end\n"
    ":room\n"
    "pln in room #room$\n"
    "save\n"
    "end\n"
    ":common\n"
    "pln common ran\n"
    "end\n";

TEST(Resume, ModeOneGoesToTheSavedLabelWithoutTheCommonLocation) {
  TempDir dir;
  play(dir, kSavingQuest, {.keys = {13}});
  ASSERT_TRUE(dir.exists("save.txt"));
  QuestRun run = play(dir, kSavingQuest, {.args = {"1", "w", "quest.qst"}});
  EXPECT_EQ(shown_lines(run.output()), (Lines{"in room 2"}));
  EXPECT_EQ(run.state->current_label, "room");
  EXPECT_FALSE(dir.exists("log.txt"));
}

TEST(Resume, ASingleParameterResumesTheDefaultQuest) {
  TempDir dir;
  play(dir, kSavingQuest, {.keys = {13}, .args = {}});
  ASSERT_TRUE(dir.exists("save.txt"));
  QuestRun run = play(dir, kSavingQuest, {.args = {"1"}});
  EXPECT_EQ(shown_lines(run.output()), (Lines{"in room 2"}));
  QuestRun traced = play(dir, kSavingQuest, {.args = {"6"}});
  EXPECT_EQ(shown_lines(traced.output()), (Lines{"in room 3"}));
  EXPECT_TRUE(holds(dir.read("log.txt"), "8: save _  _ in room 3 _ \r\n"));
}

TEST(Resume, WithoutASavedGameThereIsNoLabelToGoTo) {
  TempDir dir;
  QuestRun run = play(dir, kSavingQuest, {.lines = {""}, .args = {"1", "w", "quest.qst"}});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(holds(run.output(), "Error: [gotolabel] LABELNAME expected")) << run.output();
}

}  // namespace
}  // namespace tindel::testing
