#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "UTypes/eval/operand.h"
#include "UTypes/eval/var_table.h"
#include "support/eval_probe.h"

namespace tindel::testing {
namespace {

TEST(StringExpr, TextsAndSubstitutions) {
  struct Case {
    const char* text;  // after "p"
    std::string value;
    const char* setup = "";
  };
  const Case cases[] = {
      {" Hello, world", "Hello, world"},
      {"   Hi", "  Hi"},
      {"\tHi", "Hi"},
      {"", ""},
      {" a&p b", "a"},
      {" a##38$b", "a&b"},
      {" #x$", "2", "x = 2.5\n"},
      {" #-x$", "-2", "x = 2.5\n"},
      {" #x * 10$", "25", "x = 2.5\n"},
      {" #3.7$|#0 - 2.5$", "3|-2"},
      {" ##65$##66$", "AB"},
      {" ##321$", "A"},
      {" ##0 - 191$", "A"},
      {" [#$]", "[ ]"},
      {" a#/$b", "a\r\nb"},
      {" a#/ xyz $b", "a\r\nb"},
      {" a#$#$b", "a  b"},
      {" #%name$!", "Bob!", "instr name = Bob\n"},
      {" [#%never$]", "[]"},
      {" #%NAME$", "Bob", "instr name = Bob\n"},
      {" <#%current_loc$>", "<>"},
      {" #%strcopy 2, 3, abcdef&$", "bcd"},
      {" #%strcopy 0, 3, abcdef&$", "abc"},
      {" #%strcopy 0 - 5, 2, abcdef&$", "ab"},
      {" #%strcopy 7, 3, abcdef&$", ""},
      {" #%strcopy 6, 3, abcdef&$", "f"},
      {" #%strcopy 2, 0 - 1, abcdef&$", ""},
      {" #%strcopy 2, 0, abcdef&$", ""},
      {" #%strcopy 1, 2, #%name$&$", "Bo", "instr name = Bob\n"},
      {" #%strcopy 1, 2,  x&$", " x"},
      {" #%strset 2, 88, abc&$", "aXc"},
      {" #%strset 5, 88, abc&$", "abc X"},
      {" #%strset 300, 88, abc&$", "abc"},
      {" #%strset 0, 88, abc&$", "abc"},
      {" #%strset 1, 344, abc&$", "Xbc"},
      {" #%strset 254, 33, &$", std::string(253, ' ') + "!"},
      {" #%strset 255, 33, &$", ""},
      {" #%strset 1, 89, #%strcopy 2, 2, abcd&$&$", "Yc"},
      {" a #n$ b", "a 3 b", "n = 3\n"},
      {" #strlen abc&$", "3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Probe(c.setup, std::string("p") + c.text).text(), c.value);
  }
}

TEST(StringExpr, StringVariableThatPointsOutsideTheTableIsEmpty) {
  for (double distance : {5000.0, -5000.0, std::nan("")}) {
    Probe probe("instr name = 42\n", "p [#%name$]");
    InterpreterState& s = probe.s();
    s.var_values[static_cast<std::size_t>(getvar(s, "%name"))] = distance;
    EXPECT_EQ(probe.text(), "[]") << distance;
    EXPECT_EQ(operand_value(s, "name"), 0.0);
  }
}

TEST(StringExpr, TextEndsAtAmpOrLineEnd) {
  Probe probe("", "p one&two");
  EXPECT_EQ(probe.text(), "one");
  EXPECT_EQ(probe.s().cur_char, '&');
  Probe line_end("", "p one");
  EXPECT_EQ(line_end.text(), "one");
  EXPECT_EQ(line_end.s().cur_char, kEndOfLine);
}

TEST(StringExpr, TextsInAQuest) {
  TempDir dir;
  QuestRun run = run_quest(dir,
                           "x = 2.5\n"
                           "instr who = Ann\n"
                           "p a&p b\n"
                           "pln |#x * 10$|#%who$|##38$|\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output().find("ab|25|Ann|&|"), std::string::npos) << run.output();
}

TEST(StringExpr, LongTextIsWholeAndWarnedOnlyInACheck) {
  std::string long_text(300, 'w');
  for (const char* mode : {"0", "2"}) {
    TempDir dir;
    QuestRun run = run_quest(dir, "n = strlen " + long_text + "&\npln #n$ chars\n",
                             {.args = {mode, "w", "quest.qst"}});
    EXPECT_EQ(run.status, 0);
    bool check = mode[0] == '2';
    bool warned = run.output().find("warning: STR 1,  TOO LARGE TEXT\n") != std::string::npos;
    EXPECT_EQ(warned, check) << run.output();
    bool shown = run.output().find("300 chars") != std::string::npos;
    EXPECT_EQ(shown, !check) << run.output();
  }
  EXPECT_EQ(Probe("", "p " + long_text).text(), long_text);
}

TEST(StringExpr, LargeTextWarningStartsAt254Characters) {
  for (int length : {253, 254}) {
    TempDir dir;
    QuestRun run = run_quest(dir, "p " + std::string(static_cast<std::size_t>(length), 'w') + "\n",
                             {.args = {"2", "w", "quest.qst"}});
    bool warned = run.output().find("warning: STR 2,  TOO LARGE TEXT\n") != std::string::npos;
    EXPECT_EQ(warned, length == 254) << length;
  }
}

TEST(StringExpr, Errors) {
  struct Case {
    const char* line;
    const char* mode;
    const char* error;
  };
  const Case cases[] = {
      {"p abc #", "0", "Error: [string] \"$\" expected  (STR:2,POS:1,TOKEN:<NEWLN>)"},
      {"p abc #", "2", "Error: [expression] NUMBER or IDENT expected  (STR:2,POS:1,TOKEN:<NEWLN>)"},
      {"p #1 + 2 x", "0", "Error: [string] \"$\" expected  (STR:2,POS:1,TOKEN:<NEWLN>)"},
      {"p #/ x", "0", "Error: [string] \"$\" expected  (STR:2,POS:1,TOKEN:<NEWLN>)"},
      {"p ##65 , x", "0", "Error: [string] \"$\" expected  (STR:1,POS:9,TOKEN:,)"},
      {"p #%name", "0", "Error: [string] \"$\" expected  (STR:2,POS:1,TOKEN:<NEWLN>)"},
      {"p #%strcopy 1 $ 2, abc&$", "0", "Error: [strcopy] \",\" expected  (STR:1,POS:16,TOKEN:$)"},
      {"p #%strcopy 1, 2 abc&$", "0", "Error: [strcopy] \",\" expected  (STR:1,POS:22,TOKEN:&)"},
      {"p #%strcopy 1, 2, abc", "0", "Error: [strcopy] \"&\" expected  (STR:2,POS:0,TOKEN:,)"},
      {"p #%strcopy 1, 2, abc& x", "0",
       "Error: [string] \"$\" expected  (STR:2,POS:1,TOKEN:<NEWLN>)"},
      {"p #%strset 1 $ 2, abc&$", "0", "Error: [strset] \",\" expected  (STR:1,POS:15,TOKEN:$)"},
      {"p #%strset 1, 2 abc&$", "0", "Error: [strset] \",\" expected  (STR:1,POS:21,TOKEN:&)"},
      {"p #%strset 1, 2, abc", "0", "Error: [strset] \"&\" expected  (STR:2,POS:0,TOKEN:,)"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    QuestRun run =
        run_quest(dir, std::string(c.line) + "\npln after\n", {.args = {c.mode, "w", "quest.qst"}});
    EXPECT_EQ(run.status, 1) << c.line;
    EXPECT_EQ(error_line(run), c.error) << c.line << "\n" << run.screen();
  }
}

}  // namespace
}  // namespace tindel::testing
