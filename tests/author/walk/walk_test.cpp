// Walkthrough tests: the file's form, and runs that pass and fail for the right reasons, each
// from a fresh start, writing nothing beside the quest.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "author/walk/walk_file.h"
#include "author/walk/walk_runner.h"
#include "support/quest_harness.h"
#include "tests/author/author_test_support.h"

namespace tindel::author::testing {

namespace {

using tindel::testing::TempDir;

const std::vector<std::string> kShop = {":start",
                                        "gold = 3",
                                        "instr name = nobody",
                                        "pln Welcome to the shop.",
                                        "p Your name? ",
                                        "input name",
                                        "btn buy, Buy a rope",
                                        "btn leave, Leave",
                                        "end",
                                        ":buy",
                                        "gold = gold - 1",
                                        "inv + rope",
                                        "pln #%name$ buys a rope.",
                                        "btn buy, Buy another",
                                        "btn leave, Leave",
                                        "end",
                                        ":common",
                                        "end",
                                        ":leave",
                                        "pln Bye, #%name$, with #gold$ gold.",
                                        "anykey k",
                                        "pln Key #k$"};
// (the quest runs off its end after the last key)

WalkFile parsed(const std::string& text) {
  WalkFile walk;
  std::string error;
  EXPECT_TRUE(parse_walk(text, walk, error)) << error;
  return walk;
}

struct WalkRun {
  TempDir dir;
  std::vector<TestResult> results;
};

void run_all(WalkRun& run, const std::string& walk_text) {
  run.dir.write("shop.qst", quest_text(kShop));
  WalkFile walk = parsed(walk_text);
  for (const WalkTest& test : walk.tests)
    run.results.push_back(run_walk_test(walk, test, run.dir.path() + "/shop.qst"));
}

std::string failures(const TestResult& r) {
  std::string text;
  for (const std::string& f : r.failures)
    text += f + "\n";
  return text;
}

}  // namespace

TEST(WalkFile, HeaderTestsStepsAndChecks) {
  WalkFile walk = parsed(
      "# a comment\nquest: shop.qst\ncodepage: d\nseed: 42\n\ntest: one\nWelcome\n> down\n"
      "> type Мария Ивановна\n> key ш\n!Error\n/^Bye/\n{;rope = 1}\n{%name = Мария}\n\\test: x\n");
  EXPECT_EQ(walk.quest, "shop.qst");
  EXPECT_EQ(walk.codepage, 'd');
  EXPECT_EQ(walk.seed, 42u);
  ASSERT_EQ(walk.tests.size(), 1u);
  const WalkTest& t = walk.tests[0];
  ASSERT_EQ(t.steps.size(), 4u);  // the start and three steps
  EXPECT_EQ(t.steps[0].checks.at(0).text, "Welcome");
  EXPECT_EQ(t.steps[2].action, "type");
  EXPECT_EQ(t.steps[2].argument, "Мария Ивановна");
  EXPECT_EQ(t.steps[3].argument, "ш");
  const auto& checks = t.steps[3].checks;
  ASSERT_EQ(checks.size(), 5u);
  EXPECT_EQ(checks[0].kind, WalkCheck::Kind::absent);
  EXPECT_EQ(checks[1].kind, WalkCheck::Kind::pattern);
  EXPECT_EQ(checks[2].kind, WalkCheck::Kind::state);
  EXPECT_EQ(checks[2].text, ";rope");
  EXPECT_EQ(checks[2].value, "1");
  EXPECT_EQ(checks[3].value, "Мария");
  EXPECT_EQ(checks[4].kind, WalkCheck::Kind::line);
  EXPECT_EQ(checks[4].text, "test: x");
}

TEST(WalkFile, WhatIsNotAWalkthroughIsToldByLine) {
  for (auto [text, reason] : std::vector<std::pair<std::string, std::string>>{
           {"test: a\n", "the walkthrough names no quest"},
           {"quest: q.qst\n", "the walkthrough has no test"},
           {"quest: q.qst\n> down\n", "2: a step or check stands before"},
           {"quest: q.qst\ntest: a\n> jump\n", "3: unknown step"},
           {"quest: q.qst\ntest: a\n> down 2\n", "3: unknown step"},
           {"quest: q.qst\ncodepage: x\n", "2: the code page is w, d or u"},
           {"quest: q.qst\nseed: many\n", "2: the seed is a number"},
           {"quest: q.qst\ntest: a\n{gold}\n", "3: a state check is {name = value}"}}) {
    WalkFile walk;
    std::string error;
    EXPECT_FALSE(parse_walk(text, walk, error)) << text;
    EXPECT_TRUE(error.starts_with(reason)) << text << " -> " << error;
  }
}

TEST(WalkRuns, PassingStepsWithTheirOutputAndState) {
  WalkRun run;
  run_all(run,
          "quest: shop.qst\ntest: buying\nWelcome to the shop.\n> type Мария\n"
          "{%name = Мария}\nBuy a rope\n> enter\nМария buys a rope.\n{gold = 2}\n"
          "{;rope = 1}\n> enter\n{gold = 1}\n{;rope = 2}\n> down\n> enter\n"
          "/^Bye, Мария, with 1 gold\\.$/\n> key ш\nKey 232\n");
  ASSERT_EQ(run.results.size(), 1u);
  EXPECT_TRUE(run.results[0].passed) << failures(run.results[0]);
  EXPECT_FALSE(run.dir.exists("debug.txt"));
  EXPECT_FALSE(run.dir.exists("save.txt"));
}

TEST(WalkRuns, EachFailureSaysWhatWasExpectedAndWhatCame) {
  WalkRun run;
  run_all(run,
          "quest: shop.qst\ntest: wrong\n> type Ann\n> enter\nAnn buys a lamp.\n!buys\n"
          "/^Bob/\n{gold = 7}\n{%name = Bob}\n{;rope = 0}\n");
  ASSERT_EQ(run.results.size(), 1u);
  const TestResult& r = run.results[0];
  EXPECT_FALSE(r.passed);
  ASSERT_EQ(r.failures.size(), 6u) << failures(r);
  EXPECT_TRUE(r.failures[0].starts_with(
      "line 5, after > enter: expected the line \"Ann buys a lamp.\"; the step printed:"));
  EXPECT_NE(r.failures[0].find("| Ann buys a rope."), std::string::npos) << r.failures[0];
  EXPECT_NE(r.failures[1].find("expected no line with \"buys\""), std::string::npos);
  EXPECT_NE(r.failures[2].find("expected a line matching /^Bob/"), std::string::npos);
  EXPECT_NE(r.failures[3].find("expected {gold = 7}, found 2"), std::string::npos);
  EXPECT_NE(r.failures[4].find("expected {%name = Bob}, found Ann"), std::string::npos);
  EXPECT_NE(r.failures[5].find("expected {;rope = 0}, found 1"), std::string::npos);
}

TEST(WalkRuns, EveryTestStartsAfreshAndTheEndComesTooSoon) {
  WalkRun run;
  run_all(run,
          "quest: shop.qst\ntest: first\n> type A\n> enter\n{;rope = 1}\n"
          "test: second\n{;rope = 0}\n> type B\n> down\n> enter\n> enter\n> enter\n");
  ASSERT_EQ(run.results.size(), 2u);
  EXPECT_TRUE(run.results[0].passed) << failures(run.results[0]);
  const TestResult& second = run.results[1];
  EXPECT_FALSE(second.passed);
  ASSERT_EQ(second.failures.size(), 1u) << failures(second);
  EXPECT_EQ(second.failures[0], "line 12: the quest ended before > enter");
}

TEST(WalkRuns, AnErrorOfTheQuestIsPartOfWhatTheStepPrinted) {
  WalkRun run;
  run_all(run,
          "quest: shop.qst\ntest: escape\n> type A\n> esc\n/^Error: \\[menu\\] ESC  \\(STR:/\n");
  ASSERT_EQ(run.results.size(), 1u);
  EXPECT_TRUE(run.results[0].passed) << failures(run.results[0]);
  EXPECT_FALSE(run.dir.exists("debug.txt"));
}

// A quest kept in UTF-8 (with a byte-order mark and LF line ends, as editors write it) is read
// as the player reads it: its Cyrillic text, captions and strings come out as they were written,
// and typed text and keys go in as the same characters.
TEST(WalkRuns, AUtf8QuestRoundTripsItsText) {
  TempDir dir;
  std::string quest = "\xEF\xBB\xBF";
  for (const char* line :
       {":начало", "instr имя = никто", "pln Добро пожаловать в лавку.", "p Как вас зовут? ",
        "input имя", "btn купить, Купить верёвку", "end", ":купить", "inv + верёвка",
        "pln #%имя$ покупает верёвку.", "anykey k", "pln Клавиша #k$", "end", ":common", "end"})
    quest += std::string(line) + "\n";
  dir.write("lavka.qst", quest);
  WalkFile walk = parsed(
      "quest: lavka.qst\ncodepage: u\ntest: покупка\nДобро пожаловать в лавку.\n"
      "{%имя = никто}\n> type Мария\n{%имя = Мария}\nКупить верёвку\n> enter\n"
      "Мария покупает верёвку.\n{;верёвка = 1}\n> key ш\nКлавиша 232\n"
      "test: ошибка\n> type Ann\nКупить верёвку!\n{%имя = Мария}\n");
  ASSERT_EQ(walk.codepage, 'u');
  ASSERT_EQ(walk.tests.size(), 2u);
  TestResult pass = run_walk_test(walk, walk.tests[0], dir.path() + "/lavka.qst");
  EXPECT_TRUE(pass.passed) << failures(pass);
  TestResult fail = run_walk_test(walk, walk.tests[1], dir.path() + "/lavka.qst");
  ASSERT_EQ(fail.failures.size(), 2u) << failures(fail);
  // What came is shown in UTF-8 too.
  EXPECT_NE(fail.failures[0].find("| Купить верёвку"), std::string::npos) << fail.failures[0];
  EXPECT_NE(fail.failures[1].find("expected {%имя = Мария}, found Ann"), std::string::npos)
      << fail.failures[1];
}

TEST(WalkRuns, TheBundledQuestsWalkthroughPasses) {
  std::string text;
  std::ifstream in(std::string(TINDEL_SOURCE_DIR) + "/examples/stackle.walk");
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  WalkFile walk = parsed(text);
  ASSERT_GE(walk.tests.size(), 4u);
  for (const WalkTest& test : walk.tests) {
    TestResult r =
        run_walk_test(walk, test, std::string(TINDEL_SOURCE_DIR) + "/examples/" + walk.quest);
    EXPECT_TRUE(r.passed) << test.name << "\n" << failures(r);
  }
}

}  // namespace tindel::author::testing
