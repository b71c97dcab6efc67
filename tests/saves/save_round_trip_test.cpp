// Saving a table and loading it back gives the same table: random tables with every kind of
// value and every byte in the names.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <random>

#include "UTypes/console/console_ops.h"
#include "UTypes/console/scripted/scripted_console.h"
#include "UTypes/saves/savegame.h"
#include "support/quest_harness.h"

namespace tindel::testing {

namespace {

using Rng = std::mt19937_64;

double random_value(Rng& rng) {
  const double inf = std::numeric_limits<double>::infinity();
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  switch (rng() % 9) {
    case 0:
      return 0.0;
    case 1:
      return static_cast<double>(static_cast<int>(rng() % 2001) - 1000);
    case 2:
      return std::bit_cast<double>(static_cast<std::uint64_t>(rng()));  // any bits
    case 3:
      return inf;
    case 4:
      return -inf;
    case 5:
      return std::numeric_limits<double>::quiet_NaN();
    case 6:
      return unit(rng) * 1e-300;
    case 7:
      return unit(rng) * std::numeric_limits<double>::max();
    default:
      return unit(rng) * 1e6;
  }
}

// Up to 63 bytes, line breaks, backslashes, blanks and zero bytes more often than by chance.
std::string random_text(Rng& rng, bool line_breaks) {
  static const char kAwkward[] = {'\r', '\n', '\\', ' ', '\0', 'r', 'n'};
  std::string text(rng() % 64, ' ');
  for (char& c : text) {
    c = rng() % 4 == 0 ? kAwkward[rng() % sizeof kAwkward] : static_cast<char>(rng() % 256);
    while (!line_breaks && (c == '\r' || c == '\n'))
      c = static_cast<char>(rng() % 256);
  }
  return text;
}

struct Table {
  std::unique_ptr<InterpreterState> state = std::make_unique<InterpreterState>();
  ScriptedConsole console;
  Table() {
    coninit(*state, console);
    state->quest_name = "quest.qst";
  }
};

void fill_randomly(InterpreterState& s, Rng& rng) {
  s.common_name = random_text(rng, false);
  s.call_depth = static_cast<std::int32_t>(rng() % (kCallStackSize + 1));
  for (auto& entry : s.call_stack)
    entry = static_cast<std::int32_t>(rng());
  for (int i = 0; i <= kLastSlot; ++i) {
    s.var_names[static_cast<std::size_t>(i)] = random_text(rng, true);
    s.var_values[static_cast<std::size_t>(i)] = random_value(rng);
  }
}

// Slots 1 to 5 hold every byte value 0..255 between them.
void put_every_byte(InterpreterState& s) {
  for (int b = 0; b < 256; ++b) {
    auto slot = static_cast<std::size_t>(1 + b / kNameMax);
    std::string name = s.var_names[slot].str();
    if (b % kNameMax == 0) name.clear();
    s.var_names[slot] = name + static_cast<char>(b);
  }
}

// The value a slot line brings back: the number as written, three decimals (four when the
// name holds a line break and is written escaped).
double as_written(double value, std::string_view name) {
  bool escaped = name.find_first_of("\r\n") != std::string_view::npos;
  char text[512];
  std::snprintf(text, sizeof text, "%.*f", escaped ? 4 : 3, value);
  return std::strtod(text, nullptr);
}

void expect_same_value(double loaded, double saved, std::string_view name, int slot) {
  if (std::isnan(saved)) {
    EXPECT_TRUE(std::isnan(loaded)) << "slot " << slot;
  } else {
    EXPECT_EQ(loaded, as_written(saved, name)) << "slot " << slot << " saved " << saved;
  }
}

void expect_same_table(const InterpreterState& loaded, const InterpreterState& saved,
                       const std::string& label) {
  EXPECT_EQ(loaded.common_name, saved.common_name);
  EXPECT_EQ(loaded.current_label, label);
  ASSERT_EQ(loaded.call_depth, saved.call_depth);
  for (int i = 0; i < saved.call_depth; ++i)
    EXPECT_EQ(loaded.call_stack[static_cast<std::size_t>(i)],
              saved.call_stack[static_cast<std::size_t>(i)]);
  for (int i = 0; i <= kLastSlot; ++i) {
    auto at = static_cast<std::size_t>(i);
    ASSERT_EQ(loaded.var_names[at].view(), saved.var_names[at].view()) << "slot " << i;
    expect_same_value(loaded.var_values[at], saved.var_values[at], saved.var_names[at].view(), i);
  }
}

}  // namespace

TEST(SaveRoundTrip, RandomTablesComeBackAsSaved) {
  TempDir dir;
  Rng rng(20240611);
  for (int round = 0; round < 60; ++round) {
    Table saved, loaded;
    fill_randomly(*saved.state, rng);
    if (round == 0) put_every_byte(*saved.state);
    std::string label = random_text(rng, false);
    savegame(*saved.state, "save.txt", label, random_text(rng, false));
    fill_randomly(*loaded.state, rng);  // everything must be overwritten
    loadgame(*loaded.state, "save.txt");
    expect_same_table(*loaded.state, *saved.state, label);
    EXPECT_EQ(loaded.console.transcript(), "\n") << "no warning for a whole file";
    if (::testing::Test::HasFailure()) FAIL() << "round " << round;
  }
}

TEST(SaveRoundTrip, ExtremeValuesWithLineBreaksInTheirNames) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {inf,
                           -inf,
                           std::numeric_limits<double>::quiet_NaN(),
                           -std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::max(),
                           -0.0,
                           4.9e-324,
                           -123.45678};
  TempDir dir;
  Table saved, loaded;
  int slot = 1;
  for (double v : values) {
    for (const char* name : {"up\r\ndown", "\n", "plain", ""}) {
      saved.state->var_names[static_cast<std::size_t>(slot)] = name;
      saved.state->var_values[static_cast<std::size_t>(slot)] = v;
      ++slot;
    }
  }
  savegame(*saved.state, "save.txt", "start", "header");
  loadgame(*loaded.state, "save.txt");
  expect_same_table(*loaded.state, *saved.state, "start");
}

}  // namespace tindel::testing
