#pragma once
// The character set the player's locale speaks, and the conversions between it and the CP866
// the interpreter keeps. The C and POSIX locales are taken as UTF-8 (as Python does for them);
// KOI8-R, CP1251, CP866 and ISO-8859-5 get tables of their own; any other charset shows ASCII
// and a '?' for the rest.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tindel {

enum class CharsetKind { kUtf8, kKoi8R, kCp1251, kCp866, kIso8859_5, kAscii };

class Charset {
 public:
  Charset() : Charset(CharsetKind::kUtf8) {}
  explicit Charset(CharsetKind kind);
  CharsetKind kind() const { return kind_; }
  bool is_utf8() const { return kind_ == CharsetKind::kUtf8; }
  // How a CP866 byte shows: its glyph in this charset, '?' when it has none; in an 8-bit
  // charset the controls show as '?' (NUL as a blank), so quest text cannot act on the terminal.
  void append_display(std::string& out, std::uint8_t cp866) const;
  std::string display(std::string_view cp866) const;
  // A file name: ASCII as it stands, the other CP866 characters in this charset ('?' if absent).
  std::string file_name(std::string_view cp866) const;
  // One byte typed in an 8-bit charset as CP866; 0 when CP866 lacks the character.
  std::uint8_t typed_byte(std::uint8_t byte) const { return from_charset_[byte]; }
  // A typed line in this charset as CP866; characters CP866 lacks become '?'.
  std::string typed_text(std::string_view bytes) const;

 private:
  CharsetKind kind_;
  std::array<std::uint8_t, 256> to_charset_{};    // 0: no such character
  std::array<std::uint8_t, 256> from_charset_{};  // 0: no such character
};

// The charset of a codeset name (nl_langinfo(CODESET)) in a locale of the given name
// (setlocale(LC_CTYPE, nullptr)); "C" and "POSIX" are UTF-8 whatever their codeset says.
CharsetKind charset_of(std::string_view codeset, std::string_view locale_name);

// "KOI8-R" of "ru_RU.KOI8-R@euro"; empty when the name has no codeset.
std::string_view codeset_of_locale_name(std::string_view name);

// The charset of the current locale (main() calls setlocale first). When that locale is C or
// POSIX only because the one named by LC_ALL, LC_CTYPE or LANG is not installed, the named
// locale's codeset counts.
Charset locale_charset();

}  // namespace tindel
