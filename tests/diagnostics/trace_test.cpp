// The trace in "log.txt" and the warning lines of the syntax check.
#include <gtest/gtest.h>

#include <cstdio>

#include "UTypes/diagnostics/report.h"
#include "support/quest_harness.h"
#include "support/raw_console.h"
#include "support/save_text.h"
#include "support/scripted_player.h"

namespace tindel::testing {

namespace {

const char* const kGoldQuest =
    "gold = 7\n"
    "pln Gold #gold$\n"
    "end\n"
    ":common\n"
    "end\n";

// The line and token at which the next statement begins; line ends stepped over count too.
const char* const kGoldTrace =
    "2: <NEWLN> _ 7 _  _ \r\n"
    "2: pln _  _  _ \r\n"
    "3: <NEWLN> _  _ Gold 7 _ \r\n"
    "4: end _  _ Gold 7 _ \r\n";

}  // namespace

TEST(Trace, OneLinePerStatementWrittenBeforeTheProgramEnds) {
  TempDir dir;
  std::string log_at_the_wait;
  RawRun run = run_raw(dir, kGoldQuest,
                       {.args = {"5", "w", "quest.qst"}, .input = [&](ScriptedConsole& con) {
                          quit_at_menu(con);
                          auto& raw = static_cast<RawConsole&>(con);
                          raw.on_readline = [&] { log_at_the_wait = read_file("log.txt"); };
                        }});
  EXPECT_EQ(log_at_the_wait, kGoldTrace) << "each line is on disk at once";
  EXPECT_EQ(dir.read("log.txt"), kGoldTrace);
}

TEST(Trace, NothingIsWrittenWithoutTheTraceModes) {
  for (const char* mode : {"0", "2", "3"}) {
    TempDir dir;
    run_raw(dir, kGoldQuest, {.args = {mode, "w", "quest.qst"}, .input = quit_at_menu});
    EXPECT_FALSE(dir.exists("log.txt")) << mode;
  }
}

TEST(Trace, TheCheckWithTraceLogsEveryStatementToTheEnd) {
  TempDir dir;
  RawRun run = run_raw(dir, kGoldQuest, {.args = {"4", "w", "quest.qst"}});
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> lines = split_crlf(dir.read("log.txt"));
  std::string start = dir.read("log.txt").substr(0, std::string(kGoldTrace).size());
  EXPECT_EQ(start, kGoldTrace);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_TRUE(lines.back().starts_with("6: <EOF> _  _ ")) << lines.back();
}

TEST(Trace, TheLineShowsTheStateAsItStandsAndOnlyWhileTheTraceIsOn) {
  Interp in("end\n");
  InterpreterState& s = in.s();
  open_log(s);
  s.line_no = 12;
  s.token_kind = TokenKind::Comma;
  s.token_text = "abc";
  s.str_result = "some text";
  s.log_on = false;
  trace(s);
  EXPECT_EQ(read_file("log.txt"), "");
  s.log_on = true;
  trace(s);
  EXPECT_EQ(read_file("log.txt"), "12: , _ abc _ some text _ \r\n");
  std::fclose(s.log_file);
  s.log_file = nullptr;
}

TEST(Trace, StartingTheTraceEmptiesAnOldLog) {
  TempDir dir;
  dir.write("log.txt", "old lines\r\n");
  run_raw(dir, "x 5\n", {.args = {"5", "w", "quest.qst"}});  // no statement completes
  EXPECT_EQ(dir.read("log.txt"), "");
}

TEST(Warning, IsOneConsoleLineWithTheLineNumber) {
  Interp in("end\n", 1);
  in.s().line_no = 12;
  warning(in.s(), ",  <PROC>");
  warning(in.s(), ",  TOO LARGE TEXT");
  EXPECT_EQ(in.console().transcript(),
            "warning: STR 12,  <PROC>\nwarning: STR 12,  TOO LARGE TEXT\n\n");
}

}  // namespace tindel::testing
