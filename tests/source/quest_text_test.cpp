// Quests as Unix editors write them: LF line ends and UTF-8 text (code page "u").
#include "UTypes/source/quest_text.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include "UTypes/charset/codepage.h"
#include "UTypes/source/quest_file.h"
#include "support/eval_probe.h"
#include "support/quest_harness.h"

namespace tindel::testing {
namespace {

const std::string kPrivetUtf8 = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";  // Привет
const std::string kPrivetDos = "\x8F\xE0\xA8\xA2\xA5\xE2";

std::string qs1_encoded(const std::string& plain) {
  std::string stored;
  for (char c : plain)
    stored += static_cast<char>(unqs1(static_cast<std::uint8_t>(c)));
  return stored;
}

TEST(Utf8Quest, CharactersBecomeTheirCp866Bytes) {
  struct Case {
    std::string utf8, cp866;
  };
  const Case cases[] = {
      {kPrivetUtf8, kPrivetDos},
      {"\xD0\x81\xD1\x91 \xE2\x84\x96 \xE2\x96\x91", "\xF0\xF1 \xFC \xB0"},  // Ёё № ░
      {"\xEF\xBB\xBFpln a", "pln a"},            // a BOM at the start is skipped
      {"a\xEF\xBB\xBF", "a?"},                   // ...elsewhere it is a character
      {"\xE2\x82\xAC \xF0\x9F\x98\x80", "? ?"},  // € and an emoji: not in CP866
      {"\xE2\x99\xAA\xE2\x97\x99", "??"},        // DOS glyphs of CR and LF stay text
      {"\xC2\xA0\xE2\x96\xA0", "??"},            // the bytes of the two markers
      {"a\xFF"
       "b\xC0\xAF"
       "c",
       "a?b??c"},                    // not UTF-8; an overlong "/"
      {"x\xD0\r\n", "x?\r\n"},       // a cut sequence keeps the CR LF
      {"end\xD1", "end?"},           // ...and one cut by the file's end
      {"\t\x1A\r\n", "\t\x1A\r\n"},  // controls pass unchanged
  };
  for (const Case& c : cases)
    EXPECT_EQ(utf8_quest_to_cp866(c.utf8, false), c.cp866) << c.utf8;
}

TEST(Utf8Quest, EncodedFileIsDecodedFirstAndConvertedSecond) {
  std::string stored = qs1_encoded("pln " + kPrivetUtf8 + "\r\n");
  EXPECT_EQ(utf8_quest_to_cp866(stored, true), qs1_encoded("pln " + kPrivetDos + "\r\n"));
}

TEST(UnixLineEnds, OnlyAFileWithoutCrGetsCrLf) {
  struct Case {
    std::string bytes, read_as;
  };
  const Case cases[] = {
      {"a\nb\n\nc", "a\r\nb\r\n\r\nc"},
      {"a\r\nb\nc", "a\r\nb\nc"},  // one CR anywhere: read exactly as before
      {"a\rb\nc", "a\rb\nc"},
      {"abc", "abc"},
  };
  for (const Case& c : cases) {
    std::string bytes = c.bytes;
    add_cr_to_lone_line_ends(bytes);
    EXPECT_EQ(bytes, c.read_as) << c.bytes;
  }
}

// A large quest is brought to the scanner's form in the block it was read into, given the
// room the reader leaves: line ends at either edge, runs of empty lines and cut UTF-8
// sequences included, the bytes are those of a plain copy that puts a CR before every LF.
TEST(UnixLineEnds, TheFormIsMadeInPlace) {
  std::mt19937 random(7);
  const std::string pieces[] = {"\n", "\n\n", "a", "pln x", kPrivetUtf8, "\xD0", "\xEF\xBB\xBF"};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (int n = static_cast<int>(random() % 40); n > 0; --n)
      text += pieces[random() % std::size(pieces)];
    for (bool utf8 : {false, true}) {
      for (bool qs1 : {false, true}) {
        std::string stored = qs1 ? qs1_encoded(text) : text;
        std::string expected = utf8 ? utf8_quest_to_cp866(stored, qs1) : stored;
        std::string with_crs;
        for (char c : expected)
          with_crs += c == '\n' ? std::string("\r\n") : std::string(1, c);
        std::string bytes;
        bytes.reserve(2 * stored.size() + 1);
        bytes = stored;
        const char* block = bytes.data();
        normalize_quest_text(bytes, QuestTextForm{utf8, qs1});
        EXPECT_EQ(bytes, with_crs) << text;
        EXPECT_EQ(bytes.data(), block) << text;
      }
    }
  }
}

TEST(UnixLineEnds, FirstLoneLfIsFoundOnItsLine) {
  EXPECT_EQ(first_lone_lf_line("a\r\nb\r\nc\nd\ne", 12), 3);
  EXPECT_EQ(first_lone_lf_line("\nx\r\n", 4), 1);
  EXPECT_EQ(first_lone_lf_line("a\r\nb\r\n", 6), 0);
  EXPECT_EQ(first_lone_lf_line("a\r\nb\x1A\n", 5), 0);  // after the quest's end
}

TEST(UnixLineEnds, QuestPlaysAsItsCrLfTwinDoes) {
  const std::string quest =
      "; a comment line\n"
      "proc greet\n"
      "pln after\n"
      "pause 0 - 1\n"
      "x = 1 + (\n"
      ":greet\n"
      "pln hello\n"
      "end\n";
  TempDir dir;
  QuestRun lf = run_quest(dir, quest, {.convert_line_ends = false});
  QuestRun crlf_twin = run_quest(dir, crlf(quest), {.convert_line_ends = false});
  EXPECT_EQ(lf.output().find("hello\nafter\n"), 0u) << lf.output();
  EXPECT_NE(error_line(lf).find("(STR:6,"), std::string::npos) << error_line(lf);
  EXPECT_EQ(lf.screen(), crlf_twin.screen());
}

TEST(UnixLineEnds, EscapeIsPolledAtEveryLf) {
  TempDir dir;
  QuestRun run = run_quest(dir, "pln one\npln two\npln three\n",
                           {.input =
                                [](ScriptedConsole& c) {
                                  c.add_break_key('x');
                                  c.add_break_key(27);
                                },
                            .convert_line_ends = false});
  EXPECT_EQ(error_line(run), "Error: [getchar] BREAK  (STR:3,POS:0,TOKEN:pln)");
}

TEST(UnixLineEnds, CheckWarnsOnceOfTheFirstLfWithoutCr) {
  struct Case {
    std::string quest;
    std::vector<std::string> args;
    std::string warning;  // empty: none
  };
  const Case cases[] = {
      {"pln a\r\npln b\npln c\npln d\r\n",
       {"2", "w", "quest.qst"},
       "warning: STR 2,  LF WITHOUT CR"},
      {"pln a\r\npln b\npln c\r\n", {"3", "d", "quest.qst"}, "warning: STR 2,  LF WITHOUT CR"},
      {"pln a\npln b\n", {"2", "w", "quest.qst"}, ""},         // LF only: a clean file
      {"pln a\r\npln b\nc\r\n", {"0", "w", "quest.qst"}, ""},  // play never warns
  };
  for (const Case& c : cases) {
    TempDir dir;
    QuestRun run = run_quest(dir, c.quest, {.args = c.args, .convert_line_ends = false});
    const std::string screen = run.screen();
    const auto first = screen.find("LF WITHOUT CR");
    if (c.warning.empty()) {
      EXPECT_EQ(first, std::string::npos) << screen;
      continue;
    }
    EXPECT_NE(screen.find("\n" + c.warning + "\n"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("LF WITHOUT CR", first + 1), std::string::npos) << screen;
  }
}

TEST(Utf8Quest, PlaysAsItsCp866TwinAndCountsDecodedCharacters) {
  // "в" is two bytes in UTF-8 and one character: the error's column counts characters.
  const std::string tail = " & pause 0 - 1\nx = 1 + \xD0\xB2\xD0\xB2 ) 5\n";
  TempDir dir;
  QuestRun utf8 = run_quest(dir, "pln " + kPrivetUtf8 + tail, {.args = {"0", "u", "quest.qst"}});
  QuestRun dos = run_quest(dir, "pln " + kPrivetDos + utf8_quest_to_cp866(tail, false),
                           {.args = {"0", "d", "quest.qst"}});
  EXPECT_EQ(utf8.output().find(kPrivetDos + "\n"), 0u) << utf8.output();
  ASSERT_NE(error_line(utf8), "") << utf8.screen();
  EXPECT_EQ(error_line(utf8), error_line(dos));
}

// Labels are folded to lower case by the CP866 rules: only decoded text folds "Лес" to "лес".
TEST(Utf8Quest, LabelsAndButtonsMatchInCp866) {
  TempDir dir;
  const std::string quest =
      "btn \xD0\x9B\xD0\xB5\xD1\x81, go\nend\n:\xD0\xBB\xD0\xB5\xD1\x81\npln ok\nend\n"
      ":common\nend\n";
  QuestRun run = run_quest(dir, quest, {.args = {"3", "u", "quest.qst"}});
  EXPECT_NE(run.screen().find("syntax <quest.qst> is checked!"), std::string::npos) << run.screen();
  QuestRun bad = run_quest(dir, quest, {.args = {"3", "w", "quest.qst"}});
  EXPECT_NE(bad.screen().find("not found"), std::string::npos) << bad.screen();
}

TEST(Utf8Quest, EncodedUtf8QuestPlays) {
  TempDir dir;
  std::string stored = qs1_encoded("pln " + kPrivetUtf8 + "\r\n");
  QuestRun run =
      run_quest(dir, stored, {.args = {"0", "u", "quest.qs1"}, .convert_line_ends = false});
  EXPECT_EQ(run.output().find(kPrivetDos + "\n"), 0u) << run.output();
}

TEST(Utf8Quest, CodePageUCountsOnlyWithThreeParameters) {
  TempDir dir;
  // Two parameters select nothing: the default quest in code page w reads UTF-8 as bytes.
  QuestRun run = run_quest(dir, "pln " + kPrivetUtf8 + "\n", {.args = {"0", "u"}});
  std::string as_windows;
  for (char c : kPrivetUtf8)
    as_windows += static_cast<char>(wintodos(static_cast<std::uint8_t>(c)));
  EXPECT_EQ(run.output().find(as_windows + "\n"), 0u) << run.output();
}

}  // namespace
}  // namespace tindel::testing
