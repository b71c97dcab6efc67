// The saved game as the fast writer puts it together, against lines formatted the way the
// program always wrote them (printf's "%.3f"), over a full table of varied values and names.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "UTypes/saves/save_format.h"
#include "UTypes/saves/savegame.h"
#include "support/quest_harness.h"
#include "support/save_text.h"

namespace tindel::testing {
namespace {

std::string printf_fixed(double value, int decimals) {
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  return buf;
}

// A slot line as the program wrote it with printf: plain, or escaped for a line break.
std::string printf_slot_line(double value, const std::string& name) {
  if (name.find_first_of("\r\n") == std::string::npos) return printf_fixed(value, 3) + " " + name;
  std::string escaped;
  for (char c : name)
    escaped += c == '\\' ? "\\\\" : c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  std::string number =
      std::isfinite(value) ? printf_fixed(value, 4) : printf_fixed(value, 3) + ".0000";
  return number + " " + escaped;
}

// Values of every kind: exact ties at the third decimal (printf rounds them to even), values
// a hair either side of one, negative zero and tiny negatives (which keep their "-"),
// fractions, integers, the largest and smallest doubles, infinities, NaN, and random bits.
std::vector<double> varied_values(std::mt19937_64& random) {
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> values = {0.0,
                                -0.0,
                                0.0005,
                                0.0015,
                                0.0025,
                                -0.0005,
                                2.5,
                                1.0625,
                                -1.0625,
                                0.0004,
                                -0.0004,
                                1e-300,
                                -1e-300,
                                7.0,
                                126.0,
                                1e20,
                                -1e20,
                                1e300,
                                4.9e-324,
                                inf,
                                -inf,
                                std::numeric_limits<double>::max(),
                                -std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::quiet_NaN(),
                                999999.9995,
                                0.1 + 0.2};
  for (double tie = 0.0005; tie < 3; tie += 0.001) {
    values.push_back(tie);
    values.push_back(std::nextafter(tie, 0.0));
    values.push_back(std::nextafter(tie, 10.0));
  }
  for (int i = 0; i < 3000; ++i) {
    values.push_back(std::bit_cast<double>(random()));
    values.push_back(static_cast<double>(static_cast<std::int64_t>(random() % 2000000) - 1000000) /
                     static_cast<double>(1 + random() % 10000));
  }
  return values;
}

TEST(SaveWriter, SlotLinesMatchPrintfForEveryKindOfValue) {
  std::mt19937_64 random(2026);
  for (double value : varied_values(random)) {
    ASSERT_EQ(format_slot_line(value, "$v"), printf_slot_line(value, "$v")) << value;
    ASSERT_EQ(format_slot_line(value, "a\r\nb"), printf_slot_line(value, "a\r\nb")) << value;
    std::string appended = "x";
    append_slot_line(appended, value, ";item");
    ASSERT_EQ(appended, "x" + printf_slot_line(value, ";item")) << value;
  }
}

// Names of all kinds: empty, the longest, blanks, backslashes, bytes above 127, line breaks.
std::string varied_name(std::mt19937_64& random, int slot) {
  switch (slot % 6) {
    case 0:
      return "";
    case 1:
      return "$" + std::string(62, static_cast<char>('a' + slot % 26));
    case 2:
      return ";two words \\ and a backslash";
    case 3:
      return std::string("%\x80\xA0\xE0\xF1\xFF");
    case 4:
      return "text\r\nwith a break\\n";
  }
  std::string name;
  for (std::size_t i = random() % 64; i > 0; --i)
    name += static_cast<char>(1 + random() % 255);
  return name;
}

TEST(SaveWriter, AFullTableIsWrittenByteForByteAsBefore) {
  Interp in("end\n");
  InterpreterState& s = in.s();
  std::mt19937_64 random(751);
  std::vector<double> values = varied_values(random);
  SaveText expected;
  for (int slot = 0; slot <= kLastSlot; ++slot) {
    auto at = static_cast<std::size_t>(slot);
    double value = values[random() % values.size()];
    std::string name = varied_name(random, slot);
    s.var_values[at] = value;
    s.var_names[at] = name;
    expected.slots[at] = printf_slot_line(value, std::string(s.var_names[at].view()));
  }
  s.call_depth = 3;
  for (int i = 0; i < 3; ++i) {
    s.call_stack[static_cast<std::size_t>(i)] = -7 + 1000 * i;
    expected.calls.push_back(-7 + 1000 * i);
  }
  expected.header = kSaveHeader;
  expected.label = "a label";
  savegame(s, "save.txt", "a label", kSaveHeader);
  EXPECT_EQ(read_file("save.txt"), expected.text());
  EXPECT_TRUE(read_file("save.txt.part").empty());  // nothing left beside it
}

}  // namespace
}  // namespace tindel::testing
