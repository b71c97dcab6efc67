#include "UTypes/eval/numeric.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "support/eval_probe.h"

namespace tindel::testing {
namespace {

// h is 10^30, the largest literal; eleven factors of it overflow to infinity.
const std::string kExtremes =
    "h = 999999999999999999999999999999 + 1\n"
    "inf = h * h * h * h * h * h * h * h * h * h * h\n"
    "nan = inf - inf\n";

TEST(Numeric, ToInt32IsDefinedForEveryDouble) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double in;
    std::int32_t out;
  };
  const Case cases[] = {
      {2.9, 2},
      {-2.9, -2},
      {0.0, 0},
      {-0.5, 0},
      {2147483647.9, 2147483647},
      {-2147483648.9, -2147483647 - 1},
      {3e9, 2147483647},
      {-3e9, -2147483647 - 1},
      {inf, 2147483647},
      {-inf, -2147483647 - 1},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(to_int32(c.in), c.out) << c.in;
  EXPECT_EQ(low_byte(321), 65);
  EXPECT_EQ(low_byte(-1), 255);
  EXPECT_EQ(low_byte(-256.5), 0);
}

TEST(Numeric, OverflowAndNaNInExpressions) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* expr;
    double value;
  };
  const Case cases[] = {
      {"inf", inf},
      {"0 - inf", -inf},
      {"inf > h", 1},
      {"nan = nan", 0},
      {"nan <> nan", 1},
      {"not nan", 0},
      {"nan and 1", 0},
      {"inf / 0", 0},
      {"h / inf", 0},
      {"nan \\ 2", 0},
      {"7 \\ nan", 0},
      {"inf \\ 7", 1},         // 2147483647 rem 7
      {"(0 - inf) \\ 7", -2},  // -2147483648 rem 7
      {"5000000000 \\ 7", 1},
      {"(0 - 2147483648) \\ (0 - 1)", 0},
      {"(0 - 2147483648) \\ 3", -2},
      {"7 \\ (0 - 1)", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(eval(c.expr, kExtremes), c.value) << c.expr;
}

TEST(Numeric, OverflowAndNaNInText) {
  struct Case {
    const char* text;
    std::string shown;
  };
  const Case cases[] = {
      {"#inf$", "2147483647"},
      {"#0 - inf$", "-2147483648"},
      {"#nan$", "0"},
      {"##nan$", std::string(1, '\0')},
      {"##inf$", "\xFF"},
      {"#%strcopy nan, inf, abc&$", "abc"},
      {"#%strset inf, 65, abc&$", "abc"},
      {"#%strset 2, nan, abc&$", std::string("a\0c", 3)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(text_of(c.text, kExtremes), c.shown) << c.text;
  EXPECT_EQ(eval("strchar inf, abc&", kExtremes), 0);
  EXPECT_EQ(eval("strchar nan, abc&", kExtremes), 0);
}

}  // namespace
}  // namespace tindel::testing
