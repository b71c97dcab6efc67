// The locale's charset: which one a locale names, and CP866 shown in it and typed back.
#include "UTypes/charset/locale_charset.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tindel {
namespace {

const std::string kPrivetDos = "\x8F\xE0\xA8\xA2\xA5\xE2";  // Привет, CP866

TEST(LocaleCharset, TheCodesetNameChoosesTheTable) {
  struct Case {
    const char* codeset;
    const char* locale;
    CharsetKind kind;
  };
  const Case cases[] = {
      {"UTF-8", "en_GB.UTF-8", CharsetKind::kUtf8},
      {"utf8", "ru_RU.utf8", CharsetKind::kUtf8},
      {"Utf_8", "x", CharsetKind::kUtf8},
      {"ANSI_X3.4-1968", "C", CharsetKind::kUtf8},  // the C locale is taken as UTF-8
      {"ANSI_X3.4-1968", "POSIX", CharsetKind::kUtf8},
      {"ANSI_X3.4-1968", "", CharsetKind::kUtf8},
      {"KOI8-R", "ru_RU.KOI8-R", CharsetKind::kKoi8R},
      {"CP1251", "ru_RU.CP1251", CharsetKind::kCp1251},
      {"windows-1251", "be_BY", CharsetKind::kCp1251},
      {"CP866", "ru_RU.CP866", CharsetKind::kCp866},
      {"IBM866", "ru_RU.IBM866", CharsetKind::kCp866},
      {"ISO-8859-5", "ru_RU.ISO-8859-5", CharsetKind::kIso8859_5},
      {"ANSI_X3.4-1968", "en_US", CharsetKind::kAscii},
      {"ISO-8859-1", "de_DE", CharsetKind::kAscii},
      {"UTF-16", "xx", CharsetKind::kAscii},
  };
  for (const Case& c : cases)
    EXPECT_EQ(charset_of(c.codeset, c.locale), c.kind) << c.codeset << " in " << c.locale;
  EXPECT_EQ(codeset_of_locale_name("ru_RU.KOI8-R@euro"), "KOI8-R");
  EXPECT_EQ(codeset_of_locale_name("ru_RU"), "");
}

TEST(LocaleCharset, CyrillicShowsInEachCharset) {
  struct Case {
    CharsetKind kind;
    std::string privet;  // Привет
    std::string signs;   // Ё ё № ░ ─ ■
  };
  const Case cases[] = {
      {CharsetKind::kUtf8, "Привет", "Ёё№░─■"},
      {CharsetKind::kKoi8R, "\xF0\xD2\xC9\xD7\xC5\xD4", "\xB3\xA3?\x90\x80\x94"},
      {CharsetKind::kCp1251, "\xCF\xF0\xE8\xE2\xE5\xF2", "\xA8\xB8\xB9???"},
      {CharsetKind::kIso8859_5, "\xBF\xE0\xD8\xD2\xD5\xE2", "\xA1\xF1\xF0???"},
      {CharsetKind::kCp866, kPrivetDos, "\xF0\xF1\xFC\xB0\xC4\xFE"},
      {CharsetKind::kAscii, "??????", "??????"},
  };
  for (const Case& c : cases) {
    Charset charset(c.kind);
    EXPECT_EQ(charset.display(kPrivetDos + " ok"), c.privet + " ok") << int(c.kind);
    EXPECT_EQ(charset.display("\xF0\xF1\xFC\xB0\xC4\xFE"), c.signs) << int(c.kind);
  }
}

TEST(LocaleCharset, ControlsCannotActOnAnEightBitTerminal) {
  for (CharsetKind kind : {CharsetKind::kKoi8R, CharsetKind::kCp866, CharsetKind::kAscii})
    EXPECT_EQ(Charset(kind).display(std::string("a\x1b[2J\x00\x7F", 7)), "a?[2J ?") << int(kind);
}

TEST(LocaleCharset, TypedTextComesBackAsCp866) {
  for (CharsetKind kind : {CharsetKind::kUtf8, CharsetKind::kKoi8R, CharsetKind::kCp1251,
                           CharsetKind::kIso8859_5, CharsetKind::kCp866}) {
    Charset charset(kind);
    // Every CP866 letter its charset can show is typed back as itself.
    for (int b = 0x80; b < 0x100; ++b) {
      std::string shown = charset.display(std::string(1, static_cast<char>(b)));
      if (shown == "?") continue;
      EXPECT_EQ(charset.typed_text(shown), std::string(1, static_cast<char>(b)))
          << int(kind) << " byte " << b;
    }
    EXPECT_EQ(charset.typed_text("go north"), "go north");
  }
  // A character CP866 lacks: KOI8-R's ≈, Windows-1251's €.
  EXPECT_EQ(Charset(CharsetKind::kKoi8R).typed_text("a\x97"), "a?");
  EXPECT_EQ(Charset(CharsetKind::kCp1251).typed_text("\x88"), "?");
  EXPECT_EQ(Charset(CharsetKind::kKoi8R).typed_byte(0x97), 0);
  EXPECT_EQ(Charset(CharsetKind::kKoi8R).typed_byte(0xF0), 0x8F);  // П
}

TEST(LocaleCharset, FileNamesKeepAsciiAndConvertTheRest) {
  EXPECT_EQ(Charset(CharsetKind::kUtf8).file_name("\xA2\xA5\xE2\xA5\xE0.wav"), "ветер.wav");
  EXPECT_EQ(Charset(CharsetKind::kKoi8R).file_name("\xA2\xA5\xE2.wav"), "\xD7\xC5\xD4.wav");
  EXPECT_EQ(Charset(CharsetKind::kCp866).file_name("\xA2\xA5.wav"), "\xA2\xA5.wav");
  EXPECT_EQ(Charset(CharsetKind::kUtf8).file_name("a\tb"), "a\tb");  // no glyphs for controls
}

// Texts are shown in runs of plain ASCII; in every charset the result must be what showing
// one character after another gives, whatever the mix of letters, controls and high bytes.
TEST(LocaleCharset, TextsShowAsCharacterByCharacter) {
  std::mt19937 rng(13);
  for (CharsetKind kind : {CharsetKind::kUtf8, CharsetKind::kKoi8R, CharsetKind::kCp1251,
                           CharsetKind::kCp866, CharsetKind::kIso8859_5, CharsetKind::kAscii}) {
    const Charset charset(kind);
    for (int round = 0; round < 500; ++round) {
      std::string text;
      for (std::size_t n = rng() % 60; n > 0; --n) {
        unsigned r = rng() % 8;
        text += static_cast<char>(r == 0   ? rng() % 256
                                  : r == 1 ? rng() % 0x20
                                           : 0x20 + rng() % 0x60);
      }
      std::string one_by_one;
      for (char c : text)
        charset.append_display(one_by_one, static_cast<std::uint8_t>(c));
      ASSERT_EQ(charset.display(text), one_by_one) << static_cast<int>(kind) << " " << round;
    }
  }
}

}  // namespace
}  // namespace tindel
