#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "UTypes/eval/var_table.h"
#include "support/eval_probe.h"

namespace tindel::testing {
namespace {

struct Case {
  const char* expr;
  double value;
  const char* setup = "";
};

void expect_values(const Case* begin, const Case* end) {
  for (const Case* c = begin; c != end; ++c)
    EXPECT_EQ(eval(c->expr, c->setup), c->value) << c->expr << " after " << c->setup;
}

TEST(Expression, ArithmeticAndPrecedence) {
  const Case cases[] = {
      {"1 + 2 * 3", 7},   {"(1 + 2) * 3", 9},   {"10 - 4 - 3", 3},       {"2 * 3 - 4 / 2", 4},
      {"7 / 2", 3.5},     {"8 / 2 / 2", 2},     {"7 \\ 2", 1},           {"5 / 0", 0},
      {"5 \\ 0.5", 0},    {"(0 - 7) \\ 2", -1}, {"7.9 \\ 2.5", 1},       {"7 \\ (0 - 2)", 1},
      {"-5 + 2", -3},     {"2 * -3", -3},       {"2 * (0 - 3)", -6},     {"((4))", 4},
      {"12 \\ 5 * 3", 6}, {"1 - 2 + 3", 2},     {"x / y", 0, "x = 3\n"},
  };
  expect_values(std::begin(cases), std::end(cases));
}

TEST(Expression, ComparisonsAndLogic) {
  const Case cases[] = {
      {"2 < 3", 1},
      {"3 < 2", 0},
      {"2 <= 2", 1},
      {"3 <= 2", 0},
      {"2 > 1", 1},
      {"2 >= 3", 0},
      {"2 = 2", 1},
      {"2 <> 2", 0},
      {"1 + 1 = 2", 1},
      {"0.5 > 0", 1},
      {"not 0", 1},
      {"not 5", 0},
      {"not -2", -1},
      {"not 2 = 1", 0},
      {"not x", 0, "x = 0 - 2\n"},
      {"x and 1", 0, "x = 0 - 2\n"},
      {"x or 0", 0, "x = 0 - 2\n"},
      {"1 and 2", 1},
      {"1 and 0", 0},
      {"0 or 0.1", 1},
      {"0 and 0 or 1", 1},
      {"1 or 0 and 0", 1},
      {"1 and 1 and 0", 0},
      {"a < b and b < e or d", 1, "a = 1\nb = 2\ne = 3\n"},
      {"a < b and b < e or d", 0, "a = 2\nb = 1\ne = 3\n"},
      {"a < b and b < e or d", 1, "a = 2\nb = 1\ne = 3\nd = 1\n"},
      {"a < b and b < e or d", 0, "a = 1\nb = 2\ne = 2\n"},
  };
  expect_values(std::begin(cases), std::end(cases));
}

TEST(Expression, OneComparisonLeavesTheNextToTheCaller) {
  Probe probe("", "if 3 > 2 > 1 then");
  EXPECT_EQ(probe.expression(), 1.0);
  EXPECT_EQ(probe.s().token_kind, TokenKind::Greater);
  EXPECT_EQ(probe.s().token_text, "2");  // the operand before the second ">"
}

TEST(Expression, Operands) {
  const char* items = "inv + 3, apple\ncave = 2\n";
  const Case cases[] = {
      {"3apple", 1, items},
      {"3 apple", 1, items},
      {"4 apple", 0, items},
      {"inv_apple", 3, items},
      {"apple", 1, items},
      {"apple", 5, "inv + apple\napple = 5\n"},
      {"count_cave", 2, items},
      {"cave + 1", 3, items},
      {"inv_pear", 0, items},
      {"ghost", 0},
      {"2pear", 0, items},
      {"0pear", 1, items},
      {"12", 12},
      {"1.5", 1.5},
  };
  expect_values(std::begin(cases), std::end(cases));
}

TEST(Expression, StringVariablesReadAsNumbers) {
  struct Text {
    const char* stored;  // after "instr s = "
    double value;
  };
  const Text cases[] = {{"1e3", 1000}, {" 12", 12}, {"12abc", 0},  {"-2.5", -2.5},
                        {"+7", 7},     {"abc", 0},  {"2.5E1", 25}, {"", 0},
                        {"1e", 0},     {".5", 0.5}, {"12 ", 0}};
  for (const Text& c : cases)
    EXPECT_EQ(eval("s", std::string("instr s = ") + c.stored + "\n"), c.value)
        << "\"" << c.stored << "\"";
  EXPECT_EQ(eval("s", "instr s = 8\ns = 3\n"), 3);    // the numeric variable comes first
  EXPECT_EQ(eval("s", "instr s = 8\ninv + s\n"), 1);  // then the inventory
}

TEST(Expression, NoShortCircuitEveryRndDraws) {
  auto second_draw = [](const std::string& first_line) {
    Probe probe(first_line + "\n", "if rnd then");
    return probe.expression();
  };
  double after_draw = second_draw("a = rnd");
  EXPECT_EQ(second_draw("a = 0 and rnd"), after_draw);
  EXPECT_EQ(second_draw("a = 1 or rnd"), after_draw);
  EXPECT_EQ(second_draw("a = rnd * 0"), after_draw);
  EXPECT_NE(second_draw("a = 0"), after_draw);
}

TEST(Expression, RndDrawsThousandthsAndRepeatsWithTheSeed) {
  std::string quest = "pln";
  for (int i = 0; i < 60; ++i)
    quest += " #rnd * 1000$";
  auto draws = [&](std::uint32_t seed) {
    TempDir dir;
    return run_quest(dir, quest + "\n", {.seed = seed}).output();
  };
  EXPECT_EQ(draws(7), draws(7));
  EXPECT_NE(draws(7), draws(8));

  std::string setup;
  for (int i = 0; i < 400; ++i)
    setup += "r" + std::to_string(i) + " = rnd\n";
  Probe probe(setup, "if 1 then");
  double sum = 0, low = 1, high = 0;
  for (int i = 0; i < 400; ++i) {
    double r = var_value(probe.s(), "$r" + std::to_string(i));
    EXPECT_GE(r, 0.0);
    EXPECT_LE(r, 0.999);
    EXPECT_NEAR(r * 1000, std::round(r * 1000), 1e-9);
    sum += r, low = std::min(low, r), high = std::max(high, r);
  }
  EXPECT_NEAR(sum / 400, 0.5, 0.05);
  EXPECT_LT(low, 0.02);
  EXPECT_GT(high, 0.98);
}

}  // namespace
}  // namespace tindel::testing
