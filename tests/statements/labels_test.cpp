// Finding labels: how a jump reads the quest up to a label line, which labels it takes and
// which it passes over, visit counters, and the search the check and the menu use.
#include "UTypes/statements/labels.h"

#include <gtest/gtest.h>

#include "UTypes/state/program_end.h"
#include "support/flow_quests.h"

namespace tindel::testing {
namespace {

struct JumpCase {
  const char* what;
  const char* quest;
  std::vector<std::string> shown;  // the non-empty lines after the banner
};

class LabelJump : public ::testing::TestWithParam<JumpCase> {};

TEST_P(LabelJump, LandsWhereTheLabelEnds) {
  TempDir dir;
  QuestRun run = play(dir, GetParam().quest);
  EXPECT_EQ(shown_lines(run.output()), GetParam().shown) << run.output();
}

INSTANTIATE_TEST_SUITE_P(
    Quests, LabelJump,
    ::testing::Values(
        JumpCase{"blanks and case dropped from the label line",
                 "goto forestpath\npln wrong\n:Forest Path\npln path\nend\n",
                 {"path"}},
        JumpCase{"blanks and case dropped from the goto",
                 "goto Forest  PATH\npln wrong\n: Forest\tPath \npln path\nend\n",
                 {"path"}},
        JumpCase{"a longer label is passed over",
                 "goto forest\n:forest2\npln wrong\nend\n:forest\npln right\nend\n",
                 {"right"}},
        JumpCase{"a comment after the label",
                 "goto forest\n:forest ; the wood\npln right\nend\n",
                 {"right"}},
        JumpCase{"a statement after the label on its line",
                 "goto forest\npln wrong\n:forest & pln hi\npln more\nend\n",
                 {"hi", "more"}},
        JumpCase{"a colon inside text, before the label line, is taken",
                 "goto forest\npln wrong\npln see:forest\npln after the text\nend\n"
                 ":forest\npln label line\nend\n",
                 {"after the text"}},
        JumpCase{"a colon inside text followed by more text is not a label",
                 "goto forest\npln see:forest trail\npln wrong\nend\n:forest\npln right\nend\n",
                 {"right"}},
        JumpCase{"the differing colon is not read again: ::forest is no label",
                 "goto forest\n::forest\npln wrong\nend\n:forest\npln right\nend\n",
                 {"right"}},
        JumpCase{"a colon that stops a match inside the name is passed over",
                 "goto forest\n:fo:forest\npln wrong\nend\n:forest\npln right\nend\n",
                 {"right"}},
        JumpCase{"a colon after a mismatch earlier in the name is read",
                 "goto forest\n:x:forest\npln inner\nend\n:forest\npln right\nend\n",
                 {"inner"}},
        JumpCase{"the first of two equal labels",
                 "goto twin\n:twin\npln first\nend\n:twin\npln second\nend\n",
                 {"first"}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(LabelJumpFailure, ALabelOnTheLastLineWithoutLineEndIsNotFound) {
  TempDir dir;
  QuestRun run = play(dir, "goto last\npln wrong\n:last", {.lines = {""}});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(holds(run.output(), "Error: [gotolabel] label <last> not found  (STR:3,POS:5,"))
      << run.output();
  EXPECT_TRUE(dir.exists("debug.txt"));
}

TEST(LabelJumpFailure, EmptyLabelNameInEveryMode) {
  for (const char* mode : {"0", "2", "3"}) {
    TempDir dir;
    QuestRun run = play(dir, "pln a\ngoto\n", {.lines = {""}, .args = {mode, "w", "quest.qst"}});
    EXPECT_EQ(run.status, 1) << mode;
    EXPECT_TRUE(holds(run.output(), "Error: [gotolabel] LABELNAME expected")) << mode;
  }
}

TEST(VisitCounter, RisesOnEveryJumpNotOnReading) {
  TempDir dir;
  QuestRun run = play(dir,
                      ":forest\n"
                      "pln visit #forest$\n"
                      "if forest < 3 then goto forest\n"
                      "end\n");
  EXPECT_EQ(shown_lines(run.output()),
            (std::vector<std::string>{"visit 0", "visit 1", "visit 2", "visit 3"}));
}

TEST(VisitCounter, GotoAndProcCountAlike) {
  TempDir dir;
  QuestRun run = play(dir,
                      "goto room\n:room\nproc helper\npln #room$ #helper$\nend\n"
                      ":helper\nif helper < 2 then goto helper\nend\n");
  EXPECT_EQ(shown_lines(run.output()), (std::vector<std::string>{"1 2"}));
}

// The label search of the check and of the item menu: prefix mode lists, in file order, every
// label that begins with the name, lower-cased and without blanks.
TEST(FindLabel, PrefixModeListsLabelsInFileOrder) {
  Interp it(
      ":start\nend\n:Use_Lamp Light\nend\n:use_key\nend\n:USE_LAMP drop ; x\nend\n"
      "pln note:use_lamps fix& pln x\n:use_lam\nend\n");
  open_aux_on_quest(it.s());
  std::vector<std::string> found;
  for (std::string name = findlabel(it.s(), "use_lamp", true); !name.empty();
       name = findlabel(it.s(), "use_lamp", true))
    found.push_back(name);
  it.s().aux_file.close();
  EXPECT_EQ(found, (std::vector<std::string>{"use_lamplight", "use_lampdrop", "use_lampsfix"}));
}

TEST(FindLabel, ExactModeReportsAMissingLabel) {
  Interp it(":forest2\nend\n::forest\nend\n");
  open_aux_on_quest(it.s());
  EXPECT_THROW(findlabel(it.s(), "forest", false), ProgramEnd);
  EXPECT_TRUE(holds(it.console().transcript(), "[findlabel] label <forest> not found"));
}

struct CheckCase {
  const char* what;
  const char* quest;
  const char* missing;  // the label reported, or "" when the check passes
};

class LabelCheck : public ::testing::TestWithParam<CheckCase> {};

// Mode 3 checks every goto, proc and btn target and the common location.
TEST_P(LabelCheck, ReportsTheMissingTarget) {
  TempDir dir;
  QuestRun run = play(dir, GetParam().quest, {.lines = {""}, .args = {"3", "w", "quest.qst"}});
  std::string missing = GetParam().missing;
  if (missing.empty()) {
    EXPECT_EQ(run.status, 0) << run.output();
    EXPECT_TRUE(holds(run.output(), "syntax <quest.qst> is checked!")) << run.output();
  } else {
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(holds(run.output(), "Error: [findlabel] label <" + missing + "> not found"))
        << run.output();
    EXPECT_FALSE(holds(run.output(), "is checked!"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Quests, LabelCheck,
    ::testing::Values(
        CheckCase{"all found",
                  ":start\ngoto room\nproc Room\nbtn r oom, Go\nend\n:room\nend\n"
                  ":common\nend\n",
                  ""},
        CheckCase{"goto", ":start\ngoto nowhere\n:common\nend\n", "nowhere"},
        CheckCase{"proc", ":start\nproc nowhere\n:common\nend\n", "nowhere"},
        CheckCase{"btn", ":start\nbtn nowhere, Go\n:common\nend\n", "nowhere"},
        CheckCase{"common location at the first end", ":start\nend\n", "common"},
        CheckCase{"common location after common = 2", ":start\ncommon = 2\nend\n:common\nend\n",
                  "common_2"},
        CheckCase{"prefix is not enough", ":start\ngoto room\n:room2\nend\n:common\nend\n", "room"},
        CheckCase{"colon run", ":start\ngoto room\n::room\n:common\nend\n", "room"},
        CheckCase{"label in text", ":start\ngoto room\npln at:room\n:common\nend\n", ""}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

// A button keeps 63 characters of its label, and the check looks for what the button keeps.
TEST(LabelCheck, AButtonLooksForItsLabelCutTo63Characters) {
  std::string label(64, 'a');
  TempDir dir;
  QuestRun run = play(
      dir,
      ":start\ngoto " + label + "\nbtn " + label + ", Go\nend\n:" + label + "\nend\n:common\nend\n",
      {.lines = {""}, .args = {"3", "w", "quest.qst"}});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(holds(dir.read("debug.txt"),
                    "[findlabel] label <" + label.substr(0, 63) + "> not found  (STR:3,"));
}

// Names holding ":" (the word `system` can give them) are checked without reading the quest
// once per reference: a quest with many such references is read once in all.
TEST(LabelCheck, NamesHoldingAColonAreCheckedFromOneReading) {
  std::string quest = ":start\n";
  const int kGates = 400;
  for (int i = 0; i < kGates; ++i)
    quest += "instr sys = gate:" + std::to_string(i) + "\ngoto system\nproc system\n";
  quest += "end\n";
  for (int i = 0; i < kGates; ++i)
    quest += ":Gate : " + std::to_string(i) + " ; a gate\nend\n";
  quest += ":common\nend\n";
  TempDir dir;
  QuestRun run = play(dir, quest, {.lines = {""}, .args = {"3", "w", "quest.qst"}});
  EXPECT_EQ(run.status, 0) << run.output();
  EXPECT_TRUE(holds(run.output(), "syntax <quest.qst> is checked!")) << run.output();
  EXPECT_EQ(run.state->label_reads, 0u);

  QuestRun missing = play(dir, quest + ":x\ninstr sys = gate:400\ngoto system\n",
                          {.lines = {""}, .args = {"3", "w", "quest.qst"}});
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(holds(missing.output(), "Error: [findlabel] label <gate:400> not found"))
      << missing.output();
}

// Where a search for a name holding ":" finds it, and where the ":" it passes over hides it.
TEST(LabelCheck, NamesHoldingAColonAreFoundWhereASearchFindsThem) {
  struct Case {
    const char* labels;
    const char* name;
    bool found;
  };
  const Case cases[] = {
      {":a:b\n", "a:b", true},        {":x:a:b\n", "a:b", true},
      {":a:a:b\n", "a:b", false},  // the second ":" is read as part of "a:" and passed
      {":a:b:c\n", "a:b", false},     {": A : b ; note\n", "a:b", true},
      {":a:b & pln\n", "a:b", true},  {"pln x:a:b\n", "a:b", true},
      {":a:bc\n:a:b\n", "a:b", true}, {"::a:b\n", ":a:b", true},
      {"::a:b\n", "a:b", false},      {":ab:b\n:ab\n", "ab:b", true},
      {":q:ab:b\n", "ab:b", true},    {":q:abb:b\n", "b:b", false},
  };
  // By the table, by reading, and by reading because the names do not fit in the table.
  enum class Way { kTable, kDirect, kTableFull };
  for (Way way : {Way::kTable, Way::kDirect, Way::kTableFull}) {
    for (const Case& c : cases) {
      Interp it(std::string(c.labels) + "end\n");
      it.s().syntax_level = 2;
      it.s().direct_reads = way == Way::kDirect;
      if (way == Way::kTableFull) it.s().label_check_cache = FoundLabels(4);
      bool found = true;
      try {
        check_label(it.s(), c.name);
      } catch (const ProgramEnd&) {
        found = false;
      }
      EXPECT_EQ(found, c.found) << c.labels << " " << c.name << " way " << int(way);
      EXPECT_EQ(it.s().label_reads, way == Way::kTable ? 0u : 1u) << c.labels << " " << c.name;
    }
  }
}

TEST(LabelCheck, SyntaxLevelOneDoesNotLookForLabels) {
  TempDir dir;
  QuestRun run = play(dir, ":start\ngoto nowhere\nproc gone\nbtn lost, Go\nend\n",
                      {.args = {"2", "w", "quest.qst"}});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(holds(run.output(), "syntax <quest.qst> is checked!"));
}

}  // namespace
}  // namespace tindel::testing
