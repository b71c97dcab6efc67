#include "UTypes/charset/cp866.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UTypes/charset/locale_charset.h"

namespace tindel {
namespace {

struct GlyphCase {
  std::uint8_t byte;
  char32_t glyph;
};

// Landmarks of the table: every block of the code page and its borders.
const std::vector<GlyphCase> kLandmarks = {
    {0x41, U'A'},      {0x7E, U'~'}, {0x80, U'А'}, {0x9F, U'Я'}, {0xA0, U'а'},      {0xAF, U'п'},
    {0xE0, U'р'},      {0xEF, U'я'}, {0xF0, U'Ё'}, {0xF1, U'ё'}, {0xB0, U'\u2591'}, {0xB3, U'│'},
    {0xC4, U'─'},      {0xC5, U'┼'}, {0xC9, U'╔'}, {0xCD, U'═'}, {0xBB, U'╗'},      {0xDA, U'┌'},
    {0xD9, U'┘'},      {0xDB, U'█'}, {0xDF, U'▀'}, {0xF8, U'°'}, {0xFC, U'№'},      {0xFE, U'■'},
    {0xFF, U'\u00A0'}, {0x01, U'☺'}, {0x02, U'☻'}, {0x03, U'♥'}, {0x1B, U'←'},      {0x1F, U'▼'},
    {0x7F, U'⌂'},
};

TEST(Cp866, GlyphsOfTheLandmarks) {
  for (const auto& c : kLandmarks)
    EXPECT_EQ(cp866_glyph(c.byte), c.glyph) << std::hex << int{c.byte};
}

TEST(Cp866, EveryByteComesBackFromItsGlyph) {
  for (int b = 1; b < 256; ++b) {
    auto back = cp866_from_unicode(cp866_glyph(static_cast<std::uint8_t>(b)));
    ASSERT_TRUE(back.has_value()) << b;
    EXPECT_EQ(*back, b);
  }
}

TEST(Cp866, CharactersOutsideTheCodePageHaveNoByte) {
  for (char32_t cp : {U'€', U'ß', U'Ω', U'ґ', U'\u4E2D', U'\U0001F600'})
    EXPECT_FALSE(cp866_from_unicode(cp).has_value()) << static_cast<unsigned>(cp);
  EXPECT_EQ(cp866_from_unicode(U'\r'), 13);
  EXPECT_EQ(cp866_from_unicode(U'\x1b'), 27);
}

TEST(Cp866, Utf8ToCp866) {
  struct Case {
    std::string utf8;
    std::string cp866;
  };
  const std::vector<Case> cases = {
      {"plain", "plain"},
      {"Ая", "\x80\xEF"},
      {"Ёё", "\xF0\xF1"},
      {"╔═╗", "\xC9\xCD\xBB"},
      {"a€b", "a?b"},  // no such character in CP866
      {"a\xFF"
       "b",
       "a?b"},                // not UTF-8 at all
      {"a\xC3", "a?"},        // cut off in the middle
      {"\xC0\x80", "??"},     // overlong NUL: both bytes rejected
      {"\xED\xA0\x80", "?"},  // a surrogate
  };
  for (const auto& c : cases)
    EXPECT_EQ(utf8_to_cp866(c.utf8), c.cp866) << c.utf8;
}

TEST(Cp866, DisplayInUtf8AndRaw) {
  const Charset utf8(CharsetKind::kUtf8), dos(CharsetKind::kCp866);
  EXPECT_EQ(utf8.display("\x80\xEF\xF0 \xC4"), "АяЁ ─");
  EXPECT_EQ(utf8.display("\x01\x7F"), "☺⌂");
  EXPECT_EQ(dos.display(std::string("\x80\x1b[2J\x00x", 7)), std::string("\x80?[2J x"));
}

TEST(Cp866, Utf8EncodingRoundTrips) {
  for (char32_t cp :
       {U'\x00', U'\x7F', U'\x80', U'\u07FF', U'\u0800', U'\uFFFD', U'\U00010000', U'\U0010FFFF'}) {
    std::string bytes;
    append_utf8(bytes, cp);
    Utf8Step step = decode_utf8(bytes);
    ASSERT_EQ(step.status, Utf8Step::Status::kChar) << static_cast<unsigned>(cp);
    EXPECT_EQ(step.code_point, cp);
    EXPECT_EQ(step.length, bytes.size());
  }
}

TEST(Cp866, Utf8DecodingTellsIncompleteFromInvalid) {
  EXPECT_EQ(decode_utf8("\xD0").status, Utf8Step::Status::kIncomplete);
  EXPECT_EQ(decode_utf8("\xE2\x94").status, Utf8Step::Status::kIncomplete);
  Utf8Step broken = decode_utf8(
      "\xE2"
      "A");
  EXPECT_EQ(broken.status, Utf8Step::Status::kInvalid);
  EXPECT_EQ(broken.length, 1u);  // the A after it is kept
  EXPECT_EQ(decode_utf8("\x80").status, Utf8Step::Status::kInvalid);
  EXPECT_EQ(decode_utf8("\xF5\x80\x80\x80").status, Utf8Step::Status::kInvalid);
}

}  // namespace
}  // namespace tindel
