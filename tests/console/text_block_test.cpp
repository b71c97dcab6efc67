// The text block: how printed text is counted in 80-column lines, which colour each
// character keeps, and where a page ends with "[next]".
#include "UTypes/console/text_block.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "UTypes/eval/var_table.h"
#include "support/quest_harness.h"
#include "support/screen_probe.h"

namespace tindel::testing {
namespace {

std::string buttons(int n) {
  std::string quest;
  for (int i = 1; i <= n; ++i)
    quest += "btn room, Go " + std::to_string(i) + "\n";
  return quest;
}

struct LineCase {
  const char* what;
  std::string quest;
  int lines;
  int column;
  int cells;
};
void PrintTo(const LineCase& c, std::ostream* os) {
  *os << c.what;
}

class TextBlockLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(TextBlockLines, CountsScreenLinesAsAnEightyColumnConsoleShowsThem) {
  const LineCase& c = GetParam();
  Interp in(c.quest);
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_EQ(in.s().block_lines, c.lines) << c.what;
  EXPECT_EQ(in.s().block_column, c.column) << c.what;
  EXPECT_EQ(in.s().block_count, c.cells) << c.what;
  EXPECT_EQ(in.console().transcript(), "\n") << "nothing reaches the screen before a menu";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextBlockLines,
    ::testing::Values(
        LineCase{"pln of 100 characters", "pln " + std::string(100, 'x') + "\n", 2, 0, 102},
        LineCase{"pln of 80 characters: the CR LF is a line of its own",
                 "pln " + std::string(80, 'x') + "\n", 2, 0, 82},
        LineCase{"pln of 79 characters: the CR fills the 80th column",
                 "pln " + std::string(79, 'x') + "\n", 2, 0, 81},
        LineCase{"pln of 78 characters", "pln " + std::string(78, 'x') + "\n", 1, 0, 80},
        LineCase{"p of 80 characters", "p " + std::string(80, 'x') + "\n", 1, 0, 80},
        LineCase{"p of 81 characters", "p " + std::string(81, 'x') + "\n", 1, 1, 81},
        LineCase{"a CR takes a column and ends nothing", "p ab##13$cd\n", 0, 5, 5},
        LineCase{"a lone LF ends a line", "p ab##10$cd\n", 1, 2, 5},
        LineCase{"two p statements share a line", "p abc\np def\n", 0, 6, 6}));

// The console wraps after the 80th character, so the CR LF that follows makes a second,
// empty line, as the count says.
TEST(TextBlockLines, EightyCharactersAndALineEndShowAsTwoLines) {
  Interp in("pln " + std::string(80, 'x') + "\npln next\nanykey\n");
  in.console().add_key('k');
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_EQ(in.console().transcript(), std::string(80, 'x') + "\n\nnext\n\n");
}

TEST(TextBlockColours, TwoColoursOnOneLine) {
  Interp in(
      "styletextcolor = 12\n"
      "p red \n"
      "styletextcolor = 10\n"
      "p green\n"
      "anykey\n");
  in.console().add_key('k');
  ASSERT_EQ(in.run_statements(), -1);
  const ScreenModel& screen = in.console().screen();
  EXPECT_EQ(attributes_of(screen, "red"), std::vector<std::uint8_t>(3, 12));
  EXPECT_EQ(attributes_of(screen, "green"), std::vector<std::uint8_t>(5, 10));
  EXPECT_EQ(find_on_screen(screen, "red green").y, 0);
}

TEST(TextBlockColours, ACharacterKeepsTheColourOfItsMoment) {
  Interp in(
      "styletextcolor = 12\n"
      "p early\n"
      "styletextcolor = 10\n"
      "anykey\n");
  in.console().add_key('k');
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_EQ(attributes_of(in.console().screen(), "early"), std::vector<std::uint8_t>(5, 12));
}

struct ColourCase {
  const char* value;
  std::uint8_t attr;
};
void PrintTo(const ColourCase& c, std::ostream* os) {
  *os << c.value;
}

class TextBlockStyleValues : public ::testing::TestWithParam<ColourCase> {};

TEST_P(TextBlockStyleValues, TheLowByteOfTheTruncatedValueIsTheAttribute) {
  Interp in(std::string("styletextcolor = ") + GetParam().value + "\np Sample\nanykey\n");
  in.console().add_key('k');
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_EQ(attributes_of(in.console().screen(), "Sample"),
            std::vector<std::uint8_t>(6, GetParam().attr))
      << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, TextBlockStyleValues,
                         ::testing::Values(ColourCase{"30", 30},  // yellow on blue
                                           ColourCase{"14.9", 14}, ColourCase{"270", 14},
                                           ColourCase{"-1", 255}, ColourCase{"7", 7}));

struct PageCase {
  const char* what;
  std::string quest;
  int breaks;
};
void PrintTo(const PageCase& c, std::ostream* os) {
  *os << c.what;
}

class TextBlockPaging : public ::testing::TestWithParam<PageCase> {};

// Each page break takes one Enter; the closing anykey takes the last key. A break too many
// would run out of keys, a break too few would leave an Enter unread.
TEST_P(TextBlockPaging, EndsAPageWhenTextAndButtonsReach24Lines) {
  const PageCase& c = GetParam();
  Interp in(c.quest + "anykey\n");
  for (int i = 0; i < c.breaks; ++i)
    in.console().add_key(13);
  in.console().add_key('z');
  ASSERT_EQ(in.run_statements(), -1) << c.what;
  EXPECT_EQ(in.console().keys_left(), 0u) << c.what;
  EXPECT_EQ(occurrences(in.console().transcript(), "[next]"), c.breaks) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, TextBlockPaging,
    ::testing::Values(PageCase{"23 lines and no buttons", pln_lines(23), 0},
                      PageCase{"24 lines", pln_lines(24), 1},
                      PageCase{"47 lines", pln_lines(47), 1},
                      PageCase{"48 lines", pln_lines(48), 2},
                      PageCase{"20 lines, then three buttons", pln_lines(20) + buttons(3), 0},
                      PageCase{"20 lines, then four buttons", pln_lines(20) + buttons(4), 1},
                      PageCase{"24 buttons, then two lines", buttons(24) + pln_lines(2), 3},
                      PageCase{"25 buttons, then two lines", buttons(25) + pln_lines(2), 4}));

TEST(TextBlockPaging, NextWaitsForEnterOnlyAndTheTextGoesOnAfterIt) {
  Interp in(pln_lines(24) + "pln after\nanykey\n");
  in.console().add_keys({'x', 'p', 27, 72, 13, 'z'});
  ASSERT_EQ(in.run_statements(), -1);
  const ScreenModel& screen = in.console().screen();
  ScreenSpot next = find_on_screen(screen, "[next]after");
  ASSERT_TRUE(next.found()) << in.console().transcript();
  EXPECT_EQ(next.x, 0);
  EXPECT_EQ(find_on_screen(screen, "line 24").y, next.y - 1);
  EXPECT_EQ(attributes_of(screen, "[next]"), std::vector<std::uint8_t>(6, 126));
  EXPECT_EQ(in.console().keys_left(), 0u);
}

TEST(TextBlockPaging, NoEnterNoFurtherText) {
  Interp in(pln_lines(24) + "pln after\nanykey\n");
  in.console().add_keys({'x', 'p'});
  EXPECT_EQ(in.run_statements(), 0);  // the key script ran out at "[next]"
  EXPECT_NE(in.console().transcript().find("line 24\n[next]"), std::string::npos);
  EXPECT_EQ(in.console().transcript().find("after"), std::string::npos);
}

TEST(TextBlockPaging, NextTakesTheCursorColourOfItsMoment) {
  Interp in("stylecursorcolor = 78\n" + pln_lines(24) + "stylecursorcolor = 5\nanykey\n");
  in.console().add_keys({13, 'z'});
  ASSERT_EQ(in.run_statements(), -1);
  EXPECT_EQ(attributes_of(in.console().screen(), "[next]"), std::vector<std::uint8_t>(6, 78));
}

struct CheckCase {
  const char* what;
  std::string location;
  std::string warning;
};
void PrintTo(const CheckCase& c, std::ostream* os) {
  *os << c.what;
}

class TextBlockCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(TextBlockCheck, AFullPageInACheckIsOneWarningAndNoText) {
  const CheckCase& c = GetParam();
  TempDir dir;
  QuestRun run = run_quest(dir, ":start\n" + c.location + "end\n:common\nend\n:room\nend\n",
                           {.args = {"3", "w", "quest.qst"}, .input = {}});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output(), c.warning + "\nsyntax <quest.qst> is checked!\n\n") << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Checks, TextBlockCheck,
    ::testing::Values(
        // The 24th line is quest line 25; its text was read up to the line end.
        CheckCase{"30 lines", pln_lines(30), "warning: STR 26,  TOO LARGE BLOCK"},
        CheckCase{"20 lines and four buttons", pln_lines(20) + buttons(4),
                  "warning: STR 26,  TOO LARGE BLOCK"},
        CheckCase{"48 lines", pln_lines(48),
                  "warning: STR 26,  TOO LARGE BLOCK\nwarning: STR 50,  TOO LARGE BLOCK"}));

}  // namespace
}  // namespace tindel::testing

namespace tindel::testing {
namespace {

// The colour kept for each character must be what a lookup of "$styletextcolor" gives at
// that moment, whatever happened to the table in between: values set, the variable freed
// and its slot taken by another name, names renamed, a table filled to the end.
TEST(TextBlockColours, EachCharacterHasTheColourALookupGivesAfterRandomTableChanges) {
  std::mt19937 rng(11);
  int checked = 0;
  for (int round = 0; round < 40; ++round) {
    Interp it("end\n", 1);  // a check: a full page is a warning, not a wait
    InterpreterState& s = it.s();
    for (int step = 0; step < 200; ++step) {
      int slot = 1 + static_cast<int>(rng() % kLastSlot);
      switch (rng() % 6) {
        case 0:
          var_value(s, "$styletextcolor") = static_cast<double>(rng() % 300) - 20.0;
          break;
        case 1:
          var_value(s, "$styletextcolor") = 0.0;  // freed: the next new name may take it
          break;
        case 2:
          var_value(s, "$v" + std::to_string(rng() % 300)) = 1.0 + rng() % 5;
          break;
        case 3:
          s.var_names[static_cast<std::size_t>(slot)] =
              rng() % 2 ? "$styletextcolor" : "$other" + std::to_string(rng() % 9);
          s.var_values[static_cast<std::size_t>(slot)] = static_cast<double>(rng() % 256);
          break;
        default:
          break;
      }
      if (s.block_count >= 1000) s.block_count = s.block_column = s.block_lines = 0;
      std::uint8_t expected = style_colour(s, "$styletextcolor");
      int before = s.block_count;
      if (step % 2) {
        outchar(s, 'x');
      } else {
        outtext(s, "a line\n");  // a whole text takes the colour of its moment too
      }
      for (int cell = before; cell < s.block_count; ++cell)
        ASSERT_EQ(s.block_colours[static_cast<std::size_t>(cell)], expected)
            << "round " << round << " step " << step;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 8000);
}

}  // namespace
}  // namespace tindel::testing

namespace tindel::testing {
namespace {

struct BlockState {
  std::vector<std::uint8_t> chars, colours;
  int count = 0, column = 0, lines = 0;
  std::string screen;
  friend bool operator==(const BlockState&, const BlockState&) = default;
};

BlockState block_of(Interp& it) {
  InterpreterState& s = it.s();
  auto cells = static_cast<std::size_t>(std::clamp(s.block_count, 0, kBlockCells));
  return {{s.block_chars.begin(), s.block_chars.begin() + static_cast<long>(cells)},
          {s.block_colours.begin(), s.block_colours.begin() + static_cast<long>(cells)},
          s.block_count,
          s.block_column,
          s.block_lines,
          it.console().transcript()};
}

std::string random_text(std::mt19937& rng) {
  std::string text;
  for (std::size_t n = rng() % 200; n > 0; --n) {
    unsigned r = rng() % 40;
    text += r == 0 ? '\n' : r == 1 ? '\r' : static_cast<char>('a' + r % 26);
  }
  return text;
}

// Texts go into the block in runs between line ends; the block must come out as it does
// character by character: the same cells and colours, the same lines and columns, the same
// pages ended at the same places (a check warns at each), also when the block is full.
TEST(TextBlockRuns, TextsInRunsFillTheBlockAsCharacterByCharacter) {
  int pages = 0;
  for (std::uint32_t seed = 1; seed <= 300; ++seed) {
    BlockState seen[2];
    for (bool direct : {false, true}) {
      std::mt19937 rng(seed);
      Interp it("end\n", 1);
      it.s().direct_reads = direct;
      it.s().block_column = static_cast<int>(rng() % 80);
      if (seed % 7 == 0) it.s().block_count = kBlockCells - static_cast<int>(rng() % 100);
      it.s().btn_count = static_cast<int>(rng() % 5);
      for (int i = 0; i < 8; ++i) {
        var_value(it.s(), "$styletextcolor") = static_cast<double>(1 + rng() % 200);
        outtext(it.s(), random_text(rng));
      }
      seen[direct] = block_of(it);
    }
    ASSERT_EQ(seen[0], seen[1]) << "seed " << seed << "\nruns:\n"
                                << seen[0].screen << "\none by one:\n"
                                << seen[1].screen;
    pages += occurrences(seen[0].screen, "TOO LARGE BLOCK");
  }
  EXPECT_GT(pages, 100);
}

}  // namespace
}  // namespace tindel::testing
