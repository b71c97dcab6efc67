// The saved-game file as written: whole files compared byte for byte, and single slot lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <string>

#include "UTypes/saves/save_format.h"
#include "UTypes/saves/savegame.h"
#include "support/quest_harness.h"
#include "support/save_text.h"
#include "support/scripted_player.h"

namespace tindel::testing {

namespace {

void put(InterpreterState& s, int slot, std::string_view name, double value) {
  s.var_names[static_cast<std::size_t>(slot)] = name;
  s.var_values[static_cast<std::size_t>(slot)] = value;
}

}  // namespace

TEST(SaveFile, AKnownStateIsWrittenByteForByte) {
  Interp in("end\n");
  InterpreterState& s = in.s();
  put(s, 0, "$probe", 0.0);  // the search sentinel is written like any slot
  put(s, 741, "$gold", 7.0);
  put(s, 740, ";rope", 2.5);
  put(s, 739, "%who", -2.0);
  put(s, 738, "$dust", 0.0004);
  put(s, 737, "Ann", 2.0);
  put(s, 736, "$debt", -12.25);
  put(s, 735, "$big", 1e20);
  s.common_name = "common_2";
  s.call_depth = 2;
  s.call_stack[0] = 12;
  s.call_stack[1] = 5;
  s.call_stack[2] = 99;  // beyond the depth: not written
  savegame(s, "save.txt", "hall", kSaveHeader);

  SaveText expected;
  expected.header = kSaveHeader;
  expected.common = "common_2";
  expected.label = "hall";
  expected.calls = {12, 5};
  expected.slots[0] = "0.000 $probe";
  expected.slots[741] = "7.000 $gold";
  expected.slots[740] = "2.500 ;rope";
  expected.slots[739] = "-2.000 %who";
  expected.slots[738] = "0.000 $dust";
  expected.slots[737] = "2.000 Ann";
  expected.slots[736] = "-12.250 $debt";
  expected.slots[735] = "100000000000000000000.000 $big";
  EXPECT_EQ(read_file("save.txt"), expected.text());
}

TEST(SaveFile, TheSaveHeaderCarriesCredits) {
  std::string header = kSaveHeader;
  ASSERT_TRUE(header.starts_with("Skein-save. "));
  EXPECT_GT(header.size(), std::string("Skein-save. ").size());
}

TEST(SaveFile, TheSaveStatementWritesItsLabelOrTheCurrentOne) {
  struct Case {
    const char* mode;
    const char* save_line;
    bool written;
    const char* label;
  } cases[] = {
      {"0", "save", true, ""},  // before the first choice the current label is empty
      {"0", "save start", true, "start"},
      {"5", "save start", true, "start"},
      {"2", "save start", false, ""},  // a syntax check writes nothing
      {"3", "save", false, ""},
  };
  for (const Case& c : cases) {
    TempDir dir;
    std::string quest = std::string(":start\ninv + rope\n") + c.save_line + "\nend\n";
    run_quest(dir, quest, {.args = {c.mode, "w", "quest.qst"}, .input = quit_at_menu});
    ASSERT_EQ(dir.exists("save.txt"), c.written) << c.mode << " " << c.save_line;
    if (!c.written) continue;
    std::vector<std::string> got = split_crlf(dir.read("save.txt"));
    SaveText expected;
    expected.header = kSaveHeader;
    expected.label = c.label;
    expected.slots[741] = "1.000 ;rope";
    expected.slots[0] = got.at(6);  // the sentinel holds whatever was looked up last
    EXPECT_EQ(got, expected.lines()) << c.save_line;
  }
}

TEST(SaveFile, ASaveThatCannotBeWrittenKeepsTheOldOne) {
  TempDir dir;
  dir.write("save.txt", "an earlier game\r\n");
  std::filesystem::create_directory(dir.path() + "/save.txt.part");  // no room to write beside it
  QuestRun run = run_quest(dir, ":start\nsave start\nend\n", {.input = quit_at_menu});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.note.find("save.txt"), std::string::npos) << run.note;
  EXPECT_EQ(dir.read("save.txt"), "an earlier game\r\n");
}

TEST(SaveFile, ASaveReplacesTheOldOneWhole) {
  TempDir dir;
  dir.write("save.txt", std::string(100000, 'x'));
  run_quest(dir, ":start\nsave start\nend\n", {.input = quit_at_menu});
  std::vector<std::string> lines = split_crlf(dir.read("save.txt"));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), kSaveHeader);
  EXPECT_EQ(lines.back(), "eof");
  EXPECT_FALSE(dir.exists("save.txt.part"));
}

TEST(SaveFile, ABoundedRunCountsASaveAsTheLinesItWrites) {
  // A quest that saves in a loop must not keep a bounded run (a fuzz target's) busy for
  // seconds: each save spends a slot's worth of statements, so the limit ends it early.
  TempDir dir;
  QuestRun run =
      run_quest(dir, ":start\nn = n + 1\nsave\ngoto start\n", {.statement_limit = 20000});
  EXPECT_EQ(run.note, "tindel: statement limit reached");
  std::vector<std::string> lines = split_crlf(dir.read("save.txt"));
  // The last slot named n: the first one is the search sentinel.
  auto saved = std::find_if(lines.rbegin(), lines.rend(),
                            [](const std::string& line) { return line.ends_with(" $n"); });
  ASSERT_NE(saved, lines.rend());
  const double saves = std::stod(*saved);
  EXPECT_GE(saves, 20000.0 / (kLastSlot + 4) - 1);
  EXPECT_LE(saves, 20000.0 / kLastSlot + 1);
}

TEST(SaveFile, SlotLinesHaveThreeDecimalsAndEscapeLineBreaks) {
  struct Case {
    double value;
    std::string name;
    std::string line;
  } cases[] = {
      {7.0, "$x", "7.000 $x"},
      {-1.0, "%sys", "-1.000 %sys"},
      {0.0, "", "0.000 "},
      {0.0004, "$dust", "0.000 $dust"},
      {0.0005, "$half", "0.001 $half"},
      {1.0, "a\\b", "1.000 a\\b"},  // a backslash alone needs no escape
      {-3.0, "two\r\nlines", "-3.0000 two\\r\\nlines"},
      {2.0, "\\\n", "2.0000 \\\\\\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(format_slot_line(c.value, c.name), c.line) << c.line;
}

TEST(SaveFile, SlotLinesAsAPlayerMightEditThem) {
  using namespace std::string_literals;
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    std::string line;
    bool ok;
    double value;
    std::string name;
  } cases[] = {
      {"  7.000 $x", true, 7.0, "$x"},
      {"7.000", true, 7.0, ""},
      {"7.000 ", true, 7.0, ""},
      {"7.000  two", true, 7.0, " two"},  // exactly one separator is skipped
      {"12 $gold", true, 12.0, "$gold"},
      {"1.0000 a\\r\\nb", true, 1.0, "a\r\nb"},
      {"1.000 a\\r", true, 1.0, "a\\r"},  // three decimals: no escapes
      {"inf.0000 a\\nb", true, inf, "a\nb"},
      {"-inf a\\nb", true, -inf, "a\\nb"},
      {"5.000 a\0b"s, true, 5.0, "a\0b"s},
      {"5.000 " + std::string(70, 'x'), true, 5.0, std::string(63, 'x')},
      {"many $x", false, 0.0, ""},
      {"", false, 0.0, ""},
  };
  for (const Case& c : cases) {
    SlotLine slot = parse_slot_line(c.line);
    ASSERT_EQ(slot.ok, c.ok) << c.line;
    if (!c.ok) continue;
    EXPECT_EQ(slot.value, c.value) << c.line;
    EXPECT_EQ(slot.name, c.name) << c.line;
  }
}

}  // namespace tindel::testing
