// Nesting that a quest drives: within the bound a nested expression or text has its value;
// one level more gives the quest an error report, in play and in both checks, never a crash.
#include <gtest/gtest.h>

#include <string>

#include "UTypes/state/nesting_guard.h"
#include "support/eval_probe.h"

namespace tindel::testing {
namespace {

std::string repeated(const std::string& part, int times) {
  std::string out;
  for (int i = 0; i < times; ++i)
    out += part;
  return out;
}

// "x = ((...(1)...))" with `depth` open expressions in all (the outermost one included).
std::string parenthesised(int depth) {
  return "x = " + repeated("(", depth - 1) + "1" + repeated(")", depth - 1);
}

// "p " with texts nested `depth` deep (the text of p included) through strcopy.
std::string copied_text(int depth) {
  return "p " + repeated("#%strcopy 1, 9, ", depth - 1) + "abc" + repeated("&$", depth - 1);
}

// "p " with texts nested `depth` deep through strlen: each level is a text and an expression.
std::string measured_text(int depth) {
  return "p " + repeated("#strlen ", depth - 1) + "abc" + repeated("&$", depth - 1);
}

const char* const kModes[] = {"0", "2", "3"};

QuestRun run_line(const TempDir& dir, const std::string& line, const char* mode) {
  return run_quest(dir, line + "\npln after\n", {.args = {mode, "w", "quest.qst"}});
}

void expect_report(const std::string& line, const std::string& message) {
  for (const char* mode : kModes) {
    TempDir dir;
    QuestRun run = run_line(dir, line, mode);
    EXPECT_EQ(run.status, 1) << "mode " << mode;
    EXPECT_TRUE(error_line(run).starts_with("Error: " + message + "  (STR:1,"))
        << "mode " << mode << ": " << error_line(run);
    EXPECT_TRUE(dir.exists("debug.txt")) << "mode " << mode;
    EXPECT_EQ(run.output().find("after"), std::string::npos) << "mode " << mode;
  }
}

void expect_runs(const std::string& line) {
  for (const char* mode : kModes) {
    TempDir dir;
    QuestRun run = run_line(dir, line, mode);
    EXPECT_EQ(run.status, 0) << "mode " << mode << ": " << error_line(run);
    EXPECT_EQ(run.state->expression_depth, 0) << "mode " << mode;
    EXPECT_EQ(run.state->text_depth, 0) << "mode " << mode;
  }
}

TEST(Nesting, ParenthesesUpToTheBoundAndOneLevelMore) {
  expect_runs(parenthesised(kMaxNesting));
  EXPECT_EQ(
      eval(repeated("(", kMaxNesting - 2) + "2 + 3" + repeated(")", kMaxNesting - 2) + " * 2"), 10);
  expect_report(parenthesised(kMaxNesting + 1), "[expression] STACK OUT");
  expect_report(parenthesised(40000), "[expression] STACK OUT");
}

TEST(Nesting, TextsInsideTextsUpToTheBoundAndOneLevelMore) {
  expect_runs(copied_text(kMaxNesting));
  EXPECT_EQ(text_of(repeated("#%strcopy 1, 9, ", 150) + "abcdefghijkl" + repeated("&$", 150)),
            "abcdefghi");
  EXPECT_EQ(text_of(repeated("#%strcopy 2, 9, ", 3) + "abcdefghijkl" + repeated("&$", 3)),
            "defghij");
  expect_report(copied_text(kMaxNesting + 1), "[string] STACK OUT");
  expect_report(repeated("p #%strset 1, 65, ", 1) + repeated("#%strset 1, 65, ", 31000) + "x",
                "[string] STACK OUT");
}

TEST(Nesting, BuiltInsReadingTextsCountTextLevels) {
  expect_runs(measured_text(kMaxNesting));
  EXPECT_EQ(text_of(repeated("#strlen ", 3) + "abcd" + repeated("&$", 3)), "1");
  expect_report(measured_text(kMaxNesting + 1), "[string] STACK OUT");
  // Begun in an expression, the expressions reach the bound one step before the texts.
  expect_report("x = " + repeated("strcmp #strcmp ", 17000) + "a&b&", "[expression] STACK OUT");
}

// `not` and `or` chains of any length are loops, not nesting: they have their values.
TEST(Nesting, LongNotAndOrChainsHaveTheirValues) {
  EXPECT_EQ(eval(repeated("not ", 65600) + "0"), 0);
  EXPECT_EQ(eval(repeated("not ", 65601) + "0"), 1);
  EXPECT_EQ(eval(repeated("not ", 65600) + "x", "x = 0 - 2\n"), 1);
  EXPECT_EQ(eval(repeated("not ", 3) + "(2 > 1)"), 0);
  EXPECT_EQ(eval(repeated("0 or ", 350000) + "0"), 0);
  EXPECT_EQ(eval(repeated("0 or ", 350000) + "1"), 1);
  EXPECT_EQ(eval("0 or 1 and 0 or 0"), 0);
  EXPECT_EQ(eval("0 or 1 and 2 or 0"), 1);
  EXPECT_EQ(eval("0 - 1 or 0 - 2"), 0);
  expect_runs("x = " + repeated("not ", 65600) + "1 or " + repeated("1 or ", 350000) + "0");
}

}  // namespace
}  // namespace tindel::testing
