// Lint's errors are the interpreter's own: the same message as the check of mode 3 gives for
// the first error, at the statement that failed, and then every later one as well.
#include <gtest/gtest.h>

#include "author/lint/lint.h"
#include "support/quest_harness.h"
#include "tests/author/author_test_support.h"

namespace tindel::author::testing {

namespace {

using tindel::testing::RunOptions;
using tindel::testing::TempDir;

// Statements with one error each, as authors write them.
const std::vector<std::string> kBroken = {"x = (1",
                                          "if 1 pln a",
                                          "btn a b",
                                          "inv * key",
                                          "inv +",
                                          "instr",
                                          "input",
                                          "common 5",
                                          "music 3",
                                          "play",
                                          "goto",
                                          "pln #x",
                                          "foo",
                                          ", x",
                                          "p #%strcopy 1 2$",
                                          "n = 1234567890123456789012345678901"};

std::vector<Problem> errors_of(const std::vector<Problem>& problems) {
  std::vector<Problem> errors;
  for (const Problem& p : problems)
    if (p.severity == Severity::error) errors.push_back(p);
  return errors;
}

// The error text the player's program reports in mode 3.
std::string mode3_report(const std::string& quest) {
  TempDir dir;
  RunOptions options;
  options.args = {"3", "w", "quest.qst"};
  options.convert_line_ends = false;
  return tindel::testing::run_quest(dir, quest, options).screen();
}

}  // namespace

TEST(LintAgreement, EachErrorIsTheOneTheCheckReports) {
  for (const std::string& statement : kBroken) {
    std::string quest = quest_text({statement});
    std::vector<Problem> errors = errors_of(lint_quest(quest, LintOptions{}));
    ASSERT_EQ(errors.size(), 1u) << statement << "\n" << describe(errors);
    EXPECT_NE(mode3_report(quest).find("Error: " + errors[0].message + "  (STR:"),
              std::string::npos)
        << statement << ": " << errors[0].message;
    EXPECT_EQ(errors[0].line, 1) << statement;
  }
}

TEST(LintAgreement, OneRunFindsEveryErrorEachOnItsLine) {
  std::vector<Problem> errors = errors_of(lint_quest(quest_text(kBroken), LintOptions{}));
  ASSERT_EQ(errors.size(), kBroken.size()) << describe(errors);
  for (std::size_t i = 0; i < errors.size(); ++i)
    EXPECT_EQ(errors[i].line, static_cast<int>(i + 1));
}

TEST(LintAgreement, TheStatementsPlaceNotWhereTheScannerGotTo) {
  // The check has read the label's line end when it looks for the label, and names the next
  // line; lint names the goto.
  std::vector<std::string> q = {"pln Hello", "  x = 1 & goto nowhere", "pln Bye"};
  std::vector<Problem> problems = lint_quest(quest_text(q), LintOptions{});
  EXPECT_TRUE(has_problem(problems, Severity::error, spot_of(q, "goto nowhere"),
                          "[findlabel] label <nowhere> not found"))
      << describe(problems);
  EXPECT_NE(mode3_report(quest_text(q)).find("(STR:3,"), std::string::npos);
}

TEST(LintAgreement, AnErrorSkipsOnlyTheRestOfItsLine) {
  std::vector<std::string> q = {"x = (1 & y = (2", "z = (3", "pln ok & fine = (1", "k = (4"};
  std::vector<Problem> errors = errors_of(lint_quest(quest_text(q), LintOptions{}));
  ASSERT_EQ(errors.size(), 4u) << describe(errors);
  EXPECT_EQ(errors[0].column, 1);  // y = (2 is not checked again
  EXPECT_EQ(errors[1].line, 2);
  EXPECT_EQ(errors[2].line, 3);
  EXPECT_EQ(errors[2].column, 10);
  EXPECT_EQ(errors[3].line, 4);
}

TEST(LintAgreement, BadCharactersAreNamedWhereTheyStand) {
  std::string quest = "pln a\rb\r\nn = 1234567890123456789012345678901\r\nx = (\r\n";
  std::vector<Problem> errors = errors_of(lint_quest(quest, LintOptions{}));
  ASSERT_EQ(errors.size(), 3u) << describe(errors);
  EXPECT_EQ(errors[0].message, "[getchar] <NEWLINE> #10 expected");
  EXPECT_EQ(errors[0].line, 1);
  EXPECT_EQ(errors[0].column, 6);  // the CR
  EXPECT_EQ(errors[1].message, "[getnumb] to large number");
  EXPECT_EQ(errors[1].line, 2);
  EXPECT_EQ(errors[1].column, 5);  // the number
  EXPECT_EQ(errors[2].line, 3);
}

TEST(LintAgreement, NothingIsWrittenAndNothingWaited) {
  TempDir dir;
  std::string quest = quest_text({"save", "x = (", "btn nowhere, x", "end"});
  std::vector<Problem> problems = lint_quest(quest, LintOptions{}, dir.path());
  EXPECT_FALSE(errors_of(problems).empty());
  EXPECT_FALSE(dir.exists("debug.txt"));
  EXPECT_FALSE(dir.exists("save.txt"));
  EXPECT_FALSE(dir.exists("log.txt"));
}

TEST(LintAgreement, QuestTextInMessagesAndColumnsFollowTheCodePage) {
  // "изба" in Windows-1251, in CP866 and in UTF-8: the message quotes it in UTF-8.
  const std::string w = "btn \xE8\xE7\xE1\xE0, go\r\n";
  const std::string d = "btn \xA8\xA7\xA1\xA0, go\r\n";
  const std::string u = "btn изба, go\r\n";
  for (auto [bytes, page] : {std::pair{w, 'w'}, {d, 'd'}, {u, 'u'}}) {
    std::vector<Problem> errors = errors_of(lint_quest(bytes, LintOptions{page}));
    ASSERT_EQ(errors.size(), 1u) << page;
    EXPECT_EQ(errors[0].message, "[findlabel] label <изба> not found") << page;
  }
  // Columns count characters: 13 of them before the stray word, in 20 bytes of UTF-8.
  std::vector<Problem> errors = errors_of(lint_quest("pln Привет & ёжик\r\n", LintOptions{'u'}));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].column, 14);
}

TEST(LintAgreement, AQuestWithoutMistakesHasNoProblem) {
  std::vector<std::string> q = {":start",
                                "gold = 1",
                                "if gold > 0 then pln Rich",
                                "else pln Poor",
                                "btn start, Again",
                                "end",
                                ":common",
                                "end"};
  EXPECT_EQ(describe(lint_quest(quest_text(q), LintOptions{})), "");
}

}  // namespace tindel::author::testing
