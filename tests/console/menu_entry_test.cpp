// The menu in the accessible mode: entries numbered and the highlighted one marked, the
// console told the row of the marked entry, and the digits choosing.
#include "UTypes/console/menu_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UTypes/eval/var_table.h"
#include "support/quest_harness.h"
#include "support/screen_probe.h"

namespace tindel::testing {
namespace {

// Three roads, then a pause of three passes; "z" answers the anykey after it. Every way
// ends at the finish, so that `went` tells which was taken.
const std::string kRoads =
    "inv + lamp\n"
    "pln Pick one.\n"
    "btn north, North\n"
    "btn east, East\n"
    "btn south, South\n"
    "pause 200\n"
    "pln after\n"
    "anykey\n"
    "goto finish\n"
    ":north\n"
    "went = 1\n"
    "goto finish\n"
    ":east\n"
    "went = 2\n"
    "goto finish\n"
    ":south\n"
    "went = 3\n"
    "goto finish\n"
    ":use_lamp_light\n"
    "pln The lamp glows.\n"
    "lit = 1\n"
    "end\n"
    ":finish\n";

// The row of the highlighted entry as the menu last told it while waiting, as it shows.
std::string told_row(Interp& in) {
  const auto& told = in.console().menu_entries_told();
  for (auto t = told.rbegin(); t != told.rend(); ++t)
    if (t->count > 0) return in.console().screen().row_text(t->first_row - 1 + t->highlighted);
  return "(never told)";
}

TEST(AccessibleMenu, EntriesAreNumberedAndTheHighlightMarkedWhereverTheListStands) {
  Interp in(kRoads);
  in.s().accessible = true;
  // Down in the first pass; "i" lists the lamp where the list was, so the list moves down.
  in.console().add_keys({80, 'i', 0, 'z'});
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_NE(in.console().transcript().find("1. lamp\n"
                                           "\n"
                                           "  1. North\n"
                                           "> 2. East\n"
                                           "  3. South\n"),
            std::string::npos)
      << in.console().transcript();
  EXPECT_EQ(told_row(in), "> 2. East");
  EXPECT_EQ(attributes_of(in.console().screen(), "> 2. "), std::vector<std::uint8_t>(5, 7))
      << "the mark and the number in the button colour";
}

TEST(AccessibleMenu, TheTenthEntryOnHasNoNumber) {
  std::string quest;
  for (int i = 1; i <= 11; ++i)
    quest += "btn a" + std::to_string(i) + ", Way " + std::to_string(i) + "\n";
  Interp in(quest + "pause 30\n");
  in.s().accessible = true;
  in.console().add_key(0);
  ASSERT_EQ(in.run_statements(), -1);
  const std::string screen = in.console().transcript();
  EXPECT_NE(screen.find("> 1. Way 1\n"), std::string::npos) << screen;
  EXPECT_NE(screen.find("  9. Way 9\n     Way 10\n     Way 11\n"), std::string::npos) << screen;
}

struct DigitCase {
  const char* what;
  std::vector<std::uint8_t> keys;
  double went;  // 0: the pause ran out without a choice
  double lit;
};
void PrintTo(const DigitCase& c, std::ostream* os) {
  *os << c.what;
}

class AccessibleDigits : public ::testing::TestWithParam<DigitCase> {};

TEST_P(AccessibleDigits, ADigitChoosesTheEntryOfItsNumber) {
  const DigitCase& c = GetParam();
  Interp in(kRoads);
  in.s().accessible = true;
  for (std::uint8_t k : c.keys)
    in.console().add_key(k);
  in.console().add_keys({0, 0, 0, 'z'});
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_EQ(var_value(in.s(), "$went"), c.went);
  EXPECT_EQ(var_value(in.s(), "$lit"), c.lit);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, AccessibleDigits,
    ::testing::Values(DigitCase{"2 takes the second", {'2'}, 2, 0},
                      DigitCase{"3 after Down takes the third", {80, '3'}, 3, 0},
                      DigitCase{"4 is beyond the list", {'4'}, 0, 0},
                      DigitCase{"0 and letters choose nothing", {'0', 'x'}, 0, 0},
                      DigitCase{"a use action by its number", {'u', '4'}, 0, 1}));

}  // namespace
}  // namespace tindel::testing
