// The ten mistakes quest authors make most, in one quest of 25 locations: one lint run finds
// every one of them, each at the line and column where it stands.
#include <gtest/gtest.h>

#include "author/lint/lint.h"
#include "tests/author/author_test_support.h"

namespace tindel::author::testing {

namespace {

const std::vector<std::string> kRoomNames = {
    "hall",       "garden", "kitchen", "cellar_door", "attic",   "library", "study",
    "chapel",     "tower",  "well",    "stable",      "forge",   "market",  "harbour",
    "lighthouse", "cave",   "bridge",  "mill",        "orchard", "pond",    "gate",
    "crypt",      "bakery", "loft",    "ending"};

// A location that leads on to the next one.
void add_room(std::vector<std::string>& q, std::size_t i, const std::vector<std::string>& body) {
  q.push_back(":" + kRoomNames[i]);
  q.insert(q.end(), body.begin(), body.end());
  q.push_back("btn " + kRoomNames[(i + 1) % kRoomNames.size()] + ", Walk on");
  q.push_back("end");
  q.push_back("");
}

std::vector<std::string> mistakes_quest() {
  std::vector<std::string> q = {"; Ten mistakes, one of each kind.",
                                "gold = 2",
                                "key = 1",
                                "instr name = Ann",
                                "goto hall",
                                ""};
  add_room(q, 0, {"pln The hall is cold.", "goto gardn"});  // misspelt label
  add_room(q, 1, {"if key > 0 pln A key glints."});         // missing then
  add_room(q, 2, {"if (gold > 1 then pln Coins."});         // unbalanced parenthesis
  add_room(q, 3, {"if glod > 1 then pln You are rich."});   // misspelt variable
  q.push_back(":attic");                                    // no end
  q.push_back("pln Dust everywhere.");
  q.push_back("");
  add_room(q, 5, {"btn vault, Open the vault"});       // missing label
  add_room(q, 6, {"pln Salt & pepper on the desk."});  // stray &
  add_room(q, 7, {"proc bell & pln The bell rang."});  // proc not last
  std::vector<std::string> buttons;
  for (int b = 1; b <= 25; ++b)
    buttons.push_back("btn hall, Way " + std::to_string(b));
  add_room(q, 8, buttons);  // the 26th button
  for (std::size_t i = 9; i < kRoomNames.size(); ++i)
    add_room(q, i, {"pln Nothing here."});
  q.push_back(":bell");
  q.push_back("pln Dong.");
  q.push_back("end");
  return q;  // and no common location at all
}

}  // namespace

TEST(LintMistakes, OneRunFindsAllTenEachAtItsPlace) {
  const std::vector<std::string> q = mistakes_quest();
  std::vector<Problem> problems = lint_quest(quest_text(q), LintOptions{});
  SCOPED_TRACE(describe(problems));
  using S = Severity;
  EXPECT_TRUE(has_problem(problems, S::error, spot_of(q, "goto gardn"),
                          "[findlabel] label <gardn> not found"));
  EXPECT_TRUE(
      has_problem(problems, S::error, spot_of(q, "if key > 0 pln"), "[if] \"THEN\" expected"));
  EXPECT_TRUE(
      has_problem(problems, S::error, spot_of(q, "if (gold"), "[expression] \")\" expected"));
  Spot glod = spot_of(q, "glod");
  EXPECT_TRUE(
      has_problem(problems, S::warning, glod, "variable 'glod' is read but never assigned"));
  EXPECT_TRUE(has_problem(problems, S::warning, spot_of(q, ":attic"),
                          "location 'attic' has no end or goto"));
  EXPECT_TRUE(has_problem(problems, S::error, spot_of(q, "btn vault"),
                          "[findlabel] label <vault> not found"));
  EXPECT_TRUE(
      has_problem(problems, S::error, spot_of(q, "end"), "[findlabel] label <common> not found"));
  EXPECT_TRUE(has_problem(problems, S::error, spot_of(q, "pepper"), "[parser] \"=\" expected"));
  EXPECT_TRUE(has_problem(problems, S::warning, spot_of(q, "proc bell"), "<PROC>"));
  // The 26th button (the 25 ways and the walk on): it is not offered, and the screen is full.
  Spot way25 = spot_of(q, "btn hall, Way 25");
  EXPECT_TRUE(has_problem(problems, S::warning, {way25.line + 1, 1}, "TOO LARGE MENU LIST"));
  EXPECT_TRUE(has_problem(problems, S::warning, {way25.line - 1, 1}, "TOO LARGE BLOCK"));
  EXPECT_EQ(problems.size(), 11u);
}

TEST(LintMistakes, TheMisspeltVariableComesWithTheNameMeant) {
  const std::vector<std::string> q = mistakes_quest();
  std::vector<Problem> problems = lint_quest(quest_text(q), LintOptions{});
  std::vector<Problem> at = problems_at(problems, spot_of(q, "glod").line);
  ASSERT_EQ(at.size(), 1u) << describe(problems);
  EXPECT_NE(at[0].message.find("did you mean 'gold'?"), std::string::npos) << at[0].message;
}

TEST(LintMistakes, TheProblemsComeSortedByPlace) {
  std::vector<Problem> problems = lint_quest(quest_text(mistakes_quest()), LintOptions{});
  for (std::size_t i = 1; i < problems.size(); ++i) {
    bool ordered =
        problems[i - 1].line < problems[i].line ||
        (problems[i - 1].line == problems[i].line && problems[i - 1].column <= problems[i].column);
    EXPECT_TRUE(ordered) << describe(problems);
  }
}

}  // namespace tindel::author::testing
