#include <gtest/gtest.h>

#include <string>

#include "support/eval_probe.h"

namespace tindel::testing {
namespace {

std::string digits(int n) {
  std::string d;
  for (int i = 0; i < n; ++i)
    d += static_cast<char>('1' + i % 9);
  return d;
}

TEST(ScannerErrors, ThirtyFirstDigitIsTooLarge) {
  struct Case {
    std::string line;
    std::string error;
  };
  // The form shows NUMBER only when a number was already gathered in the same token call.
  const Case cases[] = {
      {"x = " + digits(32), "Error: [getnumb] to large number  (STR:1,POS:36,TOKEN:=)"},
      {"x = 7 " + digits(32),
       "Error: [getnumb] to large number  (STR:1,POS:38,NUMBER:7" + digits(31) + ")"},
      {"x = 2" + digits(30) + ".5", "Error: [getnumb] to large number  (STR:1,POS:36,TOKEN:=)"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    QuestRun run = run_quest(dir, c.line + "\n");
    EXPECT_EQ(run.status, 1) << c.line;
    EXPECT_EQ(error_line(run), c.error) << run.screen();
  }
}

TEST(ScannerErrors, ThirtyDigitsAndLongFractionsAreAccepted) {
  TempDir dir;
  QuestRun run = run_quest(dir, "x = " + digits(30) + "." + digits(40) + "\npln ok\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output().find("ok"), std::string::npos) << run.screen();
}

TEST(ScannerErrors, CrWithoutLf) {
  struct Case {
    std::string quest;
    std::string error;
  };
  const Case cases[] = {
      {"pln a\rb\r\n", "Error: [getchar] <NEWLINE> #10 expected  (STR:1,POS:6,TOKEN:pln)"},
      {"pln a\r", "Error: [getchar] <NEWLINE> #10 expected  (STR:1,POS:6,TOKEN:pln)"},
      {"x = 1\r\npln a\r\n\r",
       "Error: [getchar] <NEWLINE> #10 expected  (STR:3,POS:1,TOKEN:<NEWLN>)"},
      // A second word being read: the first one is shown.
      {"x = ab c\rd\r\n", "Error: [getchar] <NEWLINE> #10 expected  (STR:1,POS:9,IDENT:ab)"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    QuestRun run = run_quest(dir, c.quest, {.convert_line_ends = false});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(error_line(run), c.error) << run.screen();
  }
}

TEST(ScannerErrors, EscapeAtALineEndIsThePlayersQuit) {
  TempDir dir;
  QuestRun run = run_quest(dir, "pln one\npln two\npln three\n", {.input = [](ScriptedConsole& c) {
                             c.add_break_key('x');  // other keys are dropped
                             c.add_break_key(27);
                           }});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(error_line(run), "Error: [getchar] BREAK  (STR:3,POS:0,TOKEN:pln)");
  EXPECT_NE(run.screen().find("<press enter>"), std::string::npos);
  EXPECT_EQ(run.output().find("three"), std::string::npos);
}

TEST(ScannerErrors, KeysOtherThanEscapeAreDropped) {
  TempDir dir;
  QuestRun run = run_quest(dir, "pln one\npln two\n", {.input = [](ScriptedConsole& c) {
                             c.add_break_key('x');
                             c.add_break_key(13);
                           }});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(error_line(run), "");
  EXPECT_NE(run.output().find("two"), std::string::npos);
}

}  // namespace
}  // namespace tindel::testing
