// The fatal error report: its text in each form, the console lines, the wait for Enter, the
// snapshot in "debug.txt", and the files that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>

#include "UTypes/saves/savegame.h"
#include "support/quest_harness.h"
#include "support/raw_console.h"
#include "support/save_text.h"
#include "support/scripted_player.h"

namespace tindel::testing {

namespace {

std::string digits(int n) {
  return std::string(static_cast<std::size_t>(n), '2');
}

std::string report_screen(const std::string& error) {
  return "<quest.qst> \r\n" + error + "\r\n<press enter>";
}

void make_directory(const TempDir& dir, const std::string& name) {
  std::filesystem::create_directory(dir.path() + "/" + name);
}

}  // namespace

TEST(ErrorReport, TheErrorTextNamesTokenNumberOrIdent) {
  struct Case {
    const char* what;
    std::string quest;
    std::vector<std::uint8_t> break_keys;
    int status;
    std::string error;
  } cases[] = {
      {"token", "x 5\n", {}, 1, "Error: [parser] \"=\" expected  (STR:2,POS:0,TOKEN:<NEWLN>)"},
      {"number before a long literal",
       "1 " + digits(32) + " = 1\n",
       {},
       1,
       "Error: [getnumb] to large number  (STR:1,POS:34,NUMBER:1" + digits(31) + ")"},
      {"word before a long literal",
       "abc " + digits(32) + " = 1\n",
       {},
       1,
       "Error: [getnumb] to large number  (STR:1,POS:36,IDENT:abc" + digits(31) + ")"},
      {"Escape while a second word is read",
       "pln hi\nabc def\n",
       {0, 27},
       0,
       "Error: [getchar] BREAK  (STR:3,POS:0,IDENT:abc)"},
      {"Escape at a line end between statements",
       "pln hi\npln ho\n",
       {27},
       0,
       "Error: [getchar] BREAK  (STR:2,POS:0,TOKEN:pln)"},  // the last token returned
  };
  for (const Case& c : cases) {
    TempDir dir;
    RawRun run = run_raw(dir, c.quest, {.input = [&](ScriptedConsole& con) {
                           for (auto k : c.break_keys)
                             con.add_break_key(k);
                           con.add_line("");
                         }});
    EXPECT_EQ(run.status, c.status) << c.what;
    EXPECT_EQ(run.last_write(), report_screen(c.error)) << c.what;
    EXPECT_EQ(split_crlf(dir.read("debug.txt")).at(0), c.error) << c.what;
  }
}

TEST(ErrorReport, WaitsForOneLineAndDropsIt) {
  TempDir dir;
  RawRun run = run_raw(dir, "x 5\n", {.input = [](ScriptedConsole& con) {
                         con.add_line("typed");
                         con.add_line("never read");
                       }});
  EXPECT_EQ(run.console->line_reads, 1);
  std::string screen = run.console->transcript();
  EXPECT_NE(screen.find("<press enter>typed\n"), std::string::npos) << screen;
  EXPECT_EQ(screen.find("never read"), std::string::npos);
}

TEST(ErrorReport, TheEndOfInputEndsTheWait) {
  TempDir dir;
  RawRun run = run_raw(dir, "x 5\n");  // no line to read at all
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.console->line_reads, 1);
  EXPECT_EQ(run.last_write().substr(run.last_write().size() - 13), "<press enter>");
}

TEST(ErrorReport, ASyntaxCheckStopsAtTheErrorAndStillWritesTheSnapshot) {
  for (const char* mode : {"2", "3", "4"}) {
    TempDir dir;
    RawRun run = run_raw(dir, "pln fine\nx 5\npln never\n",
                         {.args = {mode, "w", "quest.qst"}, .input = quit_at_menu});
    EXPECT_EQ(run.status, 1) << mode;
    EXPECT_EQ(run.state->syntax_level, 0) << mode;
    std::vector<std::string> debug = split_crlf(dir.read("debug.txt"));
    ASSERT_EQ(debug.size(), 758u) << mode;
    EXPECT_EQ(debug[0], "Error: [parser] \"=\" expected  (STR:3,POS:1,TOKEN:<NEWLN>)");
    EXPECT_EQ(run.console->transcript().find("is checked!"), std::string::npos) << mode;
  }
}

TEST(ErrorReport, TheSnapshotHoldsTheStateAtTheMomentOfTheError) {
  const char* quest =
      ":start\n"
      "gold = 7\n"
      "inv + 3, rope\n"
      "common = 2\n"
      "proc sub\n"
      "end\n"
      ":sub\n"
      "x 5\n";
  TempDir dir;
  RawRun run = run_raw(dir, quest, {.input = quit_at_menu});
  SaveText expected;
  expected.header = "Error: [parser] \"=\" expected  (STR:9,POS:0,TOKEN:<NEWLN>)";
  expected.common = "common_2";
  expected.label = "";               // no choice made yet
  expected.calls = {6};              // the line after the `proc` line
  expected.slots[0] = "0.000 $sub";  // the sentinel keeps the last key searched
  expected.slots[741] = "7.000 $gold";
  expected.slots[740] = "3.000 ;rope";
  expected.slots[739] = "1.000 $sub";  // the visit counter of the called label
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(dir.read("debug.txt"), expected.text());
}

TEST(ErrorReport, ADebugFileThatCannotBeWrittenEndsAtOnce) {
  TempDir dir;
  make_directory(dir, "debug.txt");
  RawRun run = run_raw(dir, "x 5\n", {.input = quit_at_menu});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.note.find("debug.txt"), std::string::npos) << run.note;
  EXPECT_NE(run.note.find("cannot be written"), std::string::npos) << run.note;
  EXPECT_EQ(run.note.find('\n'), std::string::npos);
  EXPECT_EQ(run.console->line_reads, 0) << "no wait for Enter";
  EXPECT_EQ(run.console->transcript().find("Error:"), std::string::npos);
}

TEST(ErrorReport, FilesThatCannotBeCreatedEndWithStatusTwo) {
  struct Case {
    const char* blocked;
    const char* mode;
    const char* quest;
  } cases[] = {
      {"save.txt", "0", "pln hi\nsave start\npln after\nend\n"},
      {"log.txt", "4", "pln hi\nend\n"},
      {"log.txt", "5", "pln hi\nend\n"},
      {"log.txt", "6", ":start\npln hi\nend\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    make_directory(dir, c.blocked);
    RawRun run = run_raw(dir, c.quest, {.args = {c.mode, "w", "quest.qst"}, .input = quit_at_menu});
    EXPECT_EQ(run.status, 2) << c.blocked << " mode " << c.mode;
    EXPECT_NE(run.note.find(std::string(c.blocked) + ": cannot be"), std::string::npos) << run.note;
    EXPECT_EQ(run.console->transcript().find("after"), std::string::npos);
    EXPECT_EQ(run.console->line_reads, 0);
  }
}

}  // namespace tindel::testing
