// The warnings that no check of the interpreter gives: each where the quest's text shows the
// likely mistake, and none where it shows that all is well.
#include <gtest/gtest.h>

#include "author/lint/lint.h"
#include "support/quest_harness.h"
#include "tests/author/author_test_support.h"

namespace tindel::author::testing {

namespace {

std::vector<Problem> warnings_of(const std::vector<std::string>& q, const std::string& dir = ".") {
  std::vector<Problem> warnings;
  for (const Problem& p : lint_quest(quest_text(q), LintOptions{}, dir))
    if (p.severity == Severity::warning) warnings.push_back(p);
  return warnings;
}

bool warned(const std::vector<Problem>& warnings, Spot at, const std::string& start) {
  return has_problem(warnings, Severity::warning, at, start);
}

}  // namespace

TEST(LintWarnings, ALabelDefinedTwiceIsToldAtBothPlaces) {
  std::vector<std::string> q = {":a", "btn a, Again", "end", ":common", "end", ":a", "end"};
  auto w = warnings_of(q);
  EXPECT_TRUE(warned(w, {1, 1}, "label 'a' is defined again at line 6")) << describe(w);
  EXPECT_TRUE(warned(w, {6, 1}, "label 'a' is already defined at line 1")) << describe(w);
}

TEST(LintWarnings, OnlyLocationsThatNothingNamesAreUnreached) {
  std::vector<std::string> q = {":start", "inv + lamp", "common = 2", "btn b, B", "goto c",
                                ":b",     "proc d",     "end",        ":c",       "end",
                                ":d",     "end",        ":common_2",  "end",      ":use_lamp_light",
                                "end",    ":lost",      "end",        ":common",  "end"};
  auto w = warnings_of(q);
  ASSERT_EQ(w.size(), 1u) << describe(w);
  EXPECT_TRUE(warned(w, spot_of(q, ":lost"), "location 'lost' is never reached"));
}

TEST(LintWarnings, TheSystemWordLeavesReachAndReadsUndecided) {
  std::vector<std::string> q = {
      ":start", "instr sys = goto", "system far", "pln #nobody$", "end", ":far",
      "end",    ":common",          "end"};
  EXPECT_EQ(describe(warnings_of(q)), "");
}

TEST(LintWarnings, ALocationThatRunsIntoTheNext) {
  std::vector<std::string> q = {":a",          "pln A",
                                "btn b, B",                             // runs into b
                                ":b",          "if x > 0 then goto c",  // only when x > 0
                                ":c",          "if x > 0 then goto d",
                                "else goto e",  // leaves either way
                                ":d",          ":e",
                                "end",  // d: a second name
                                ":f",          "pln F",
                                "goto a",  // leaves
                                ":common",     "end",
                                ":last",       "pln the quest may run off its end"};
  auto w = warnings_of(q);
  EXPECT_TRUE(
      warned(w, {1, 1}, "location 'a' has no end or goto: it runs into label 'b' at line 4"))
      << describe(w);
  EXPECT_TRUE(warned(w, {4, 1}, "location 'b' has no end or goto")) << describe(w);
  for (const Problem& p : w)
    EXPECT_EQ(p.message.find("has no end") == std::string::npos, p.line > 4) << describe(w);
}

TEST(LintWarnings, ACommonLocationThatRunsOffTheEndOfTheQuest) {
  struct Case {
    std::vector<std::string> tail;  // after ":start", "btn start, Again", "end"
    bool warned;
  } cases[] = {
      {{":common", "turn = turn + 1"}, true},
      {{":common"}, true},  // a bare label at the very end
      {{":common_2", "if turn > 3 then end"}, true},
      {{":common", "turn = turn + 1", "end"}, false},
      {{":common", "goto start"}, false},
      {{":common", "end", ":finale", "pln The end."}, false},  // a last scene may end the game
      {{":commonplace", "pln x"}, false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> q = {":start", "btn start, Again", "end"};
    q.insert(q.end(), c.tail.begin(), c.tail.end());
    auto w = warnings_of(q);
    EXPECT_EQ(warned(w, {4, 1},
                     "common location '" + c.tail[0].substr(1) +
                         "' has no end or goto: it runs off the end of the quest"),
              c.warned)
        << c.tail[0] << ": " << describe(w);
  }
}

TEST(LintWarnings, ReadsOfWhatIsNeverAssigned) {
  std::vector<std::string> q = {
      ":start",
      "gold = 1",
      "instr name = Ann",
      "inv + rope",
      "input age",
      "if gld > 0 then pln a",      // misspelt: did you mean
      "if zzz > 0 then pln b",      // no name near it
      "if inv_rop > 0 then pln c",  // an item never given
      "pln #%nam$",                 // a string never set
      "if start > 1 or rope > 0 or age > 1 or name > 0 or styletextcolor > 0 then pln d",
      "end",
      ":common",
      "end"};
  auto w = warnings_of(q);
  EXPECT_TRUE(
      warned(w, spot_of(q, "gld"),
             "variable 'gld' is read but never assigned (it always reads 0); did you mean 'gold'?"))
      << describe(w);
  EXPECT_TRUE(warned(w, spot_of(q, "zzz"),
                     "variable 'zzz' is read but never assigned (it always reads 0)"));
  EXPECT_EQ(problems_at(w, spot_of(q, "zzz").line).at(0).message.find("did you mean"),
            std::string::npos);
  EXPECT_TRUE(warned(w, spot_of(q, "inv_rop"),
                     "item 'rop' is tested but never given; did you mean 'rope'?"))
      << describe(w);
  EXPECT_TRUE(
      warned(w, spot_of(q, "nam$"), "string variable 'nam' is substituted but never set by instr"))
      << describe(w);
  EXPECT_EQ(w.size(), 4u) << describe(
      w);  // a visit counter, an item, a number typed, a string, a colour: all set
}

TEST(LintWarnings, MediaFilesNamedByAConstantMustLieBesideTheQuest) {
  tindel::testing::TempDir dir;
  dir.write("3.mid", "MThd");
  dir.write("door.wav", "RIFF");
  std::vector<std::string> q = {":start",    "music = 3", "music = 4", "play door", "play bell",
                                "image = 7", "x = 5",     "music = x", "play #x$",  "music = 0",
                                "end",       ":common",   "end"};
  auto w = warnings_of(q, dir.path());
  ASSERT_EQ(w.size(), 3u) << describe(w);
  EXPECT_TRUE(warned(w, spot_of(q, "music = 4"), "file '4.mid' is not beside the quest"));
  EXPECT_TRUE(warned(w, spot_of(q, "play bell"), "file 'bell.wav' is not beside the quest"));
  EXPECT_TRUE(warned(w, spot_of(q, "image = 7"), "file '7.jpg' is not beside the quest"));
}

TEST(LintWarnings, ALoneLineFeedInACrLfFile) {
  std::string mixed = "pln one\r\npln two\npln three\r\n";
  std::vector<Problem> problems = lint_quest(mixed, LintOptions{});
  EXPECT_TRUE(has_problem(problems, Severity::warning, {2, 8}, "line end LF without CR"))
      << describe(problems);
  for (const Problem& p : lint_quest("pln one\npln two\n", LintOptions{}))
    EXPECT_EQ(p.message.find("LF without CR"), std::string::npos);
}

TEST(LintWarnings, ALabelLongerThanAButtonKeepsIsToldAtBothEnds) {
  const std::string name64(64, 'k');
  const std::string name63(63, 'k');
  std::vector<std::string> q = {":start",
                                "btn " + name64 + ", Long",
                                "goto " + name63,
                                ":" + name64,
                                "end",
                                ":" + name63,
                                "end",
                                ":common",
                                "end"};
  std::vector<Problem> problems = lint_quest(quest_text(q), LintOptions{});
  // The button's cut name is another label here: the jump is wrong, not missing.
  EXPECT_TRUE(has_problem(problems, Severity::warning, {4, 1},
                          "label '" + name64 + "' is longer than 63 characters: a button keeps"))
      << describe(problems);
  EXPECT_EQ(problems.size(), 1u) << describe(problems);

  q = {":start", "btn " + name64 + ", Long", "end", ":" + name64, "end", ":common", "end"};
  problems = lint_quest(quest_text(q), LintOptions{});
  EXPECT_TRUE(has_problem(
      problems, Severity::error, {2, 1},
      "[findlabel] label <" + name63 + "> not found: a button keeps only the first 63 characters"))
      << describe(problems);
  EXPECT_TRUE(has_problem(problems, Severity::warning, {4, 1}, "label '" + name64 + "'"));
  // Exactly 63 characters are kept whole: nothing to tell.
  q = {":start", "btn " + name63 + ", Fits", "end", ":" + name63, "end", ":common", "end"};
  EXPECT_TRUE(lint_quest(quest_text(q), LintOptions{}).empty());
}

}  // namespace tindel::author::testing
