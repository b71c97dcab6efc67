#include <gtest/gtest.h>

#include <string>

#include "support/eval_probe.h"

namespace tindel::testing {
namespace {

TEST(Builtins, TextFunctions) {
  struct Case {
    std::string expr;
    double value;
    const char* setup = "";
  };
  const Case cases[] = {
      {"strlen hello&", 5},
      {"strlen  hello&", 6},
      {"strlen &", 0},
      {"strlen #12345$&", 5},
      {"strlen abc& * 2", 6},
      {"1 + strlen ab&", 3},
      {"strlen ab& 7 + 1", 3},
      {"strlen #%name$&", 3, "instr name = Bob\n"},
      {"strcmp abc&abd&", -1},
      {"strcmp b&abc&", 1},
      {"strcmp ab&abc&", -1},
      {"strcmp ab&ab&", 0},
      {"strcmp &&", 0},
      {"strcmp abc&ab&", 1},
      {"strcmp \xE0&z&", 1},
      {"strcmp z&\xE0&", -1},
      {"strchar 1, A&", 65},
      {"strchar 0, A&", 0},
      {"strchar 2, A&", 0},
      {"strchar 3, abc&", 99},
      {"strchar 1 + 1, abc&", 98},
      {"strchar 1, \xE0&", 160},
      {"strchar 0 - 1, abc&", 0},
      {"strchar 1,  A&", 32},
      {"strpos lo&hello&", 4},
      {"strpos x&hello&", 0},
      {"strpos &hello&", 0},
      {"strpos lo&&", 0},
      {"strpos h&hello&", 1},
      {"strpos hello&lo&", 0},
      {"strpos l&hello& + 10", 13},
  };
  for (const Case& c : cases)
    EXPECT_EQ(eval(c.expr, c.setup), c.value) << c.expr;
}

TEST(Builtins, ErrorsNameTheirFunction) {
  struct Case {
    const char* line;
    const char* error;
  };
  const Case cases[] = {
      {"x = (1 + 2", "Error: [expression] \")\" expected  (STR:2,POS:1,TOKEN:<NEWLN>)"},
      {"x = (1 + 2 $ 3", "Error: [expression] \")\" expected  (STR:1,POS:13,TOKEN:$)"},
      {"x = strlen abc", "Error: [strlen] \"&\" expected  (STR:2,POS:0,TOKEN:strlen)"},
      {"x = strcmp abc", "Error: [strcmp] \"&\" expected  (STR:2,POS:0,TOKEN:strcmp)"},
      {"x = strcmp abc&abd", "Error: [strcmp] \"&\" expected  (STR:2,POS:0,TOKEN:strcmp)"},
      {"x = strchar 1 A& + 1", "Error: [strchar] \",\" expected  (STR:1,POS:17,TOKEN:&)"},
      {"x = strchar 1, A", "Error: [strchar] \"&\" expected  (STR:2,POS:0,TOKEN:,)"},
      {"x = strpos a", "Error: [strpos] \"&\" expected  (STR:2,POS:0,TOKEN:strpos)"},
      {"x = strpos a&b", "Error: [strpos] \"&\" expected  (STR:2,POS:0,TOKEN:strpos)"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    QuestRun run = run_quest(dir, std::string(c.line) + "\npln after\n");
    EXPECT_EQ(run.status, 1) << c.line;
    EXPECT_EQ(error_line(run), c.error) << run.screen();
  }
}

TEST(Builtins, EmptyOperandIsAnErrorOnlyInACheck) {
  struct Case {
    const char* line;
    const char* error;  // in a check; empty when the check passes
  };
  const Case cases[] = {
      {"x = * 2", "Error: [expression] NUMBER or IDENT expected  (STR:1,POS:6,TOKEN:*)"},
      {"x = ", "Error: [expression] NUMBER or IDENT expected  (STR:2,POS:0,TOKEN:<NEWLN>)"},
      {"x = 2 * (", "Error: [expression] NUMBER or IDENT expected  (STR:2,POS:0,TOKEN:<NEWLN>)"},
      {"x = -2", ""},
      {"x = +2", ""},
      {"x = 1 + -2", ""},
      {"x = not -2", ""},
  };
  for (const Case& c : cases) {
    TempDir dir;
    QuestRun check = run_quest(dir, std::string(c.line) + "\n", {.args = {"2", "w", "quest.qst"}});
    EXPECT_EQ(error_line(check), c.error) << c.line;
    EXPECT_EQ(check.status, *c.error ? 1 : 0) << c.line;
    bool checked = check.output().find("syntax <quest.qst> is checked!") != std::string::npos;
    EXPECT_EQ(checked, !*c.error) << c.line;
  }
  TempDir dir;
  QuestRun play = run_quest(dir, "x = 5\nx = * 2\npln x=#x$\n");
  EXPECT_EQ(play.status, 0);
  EXPECT_NE(play.output().find("x=0"), std::string::npos) << play.output();
}

}  // namespace
}  // namespace tindel::testing
