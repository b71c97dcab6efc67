#include "UTypes/charset/locale_charset.h"

#include <langinfo.h>

#include <cctype>
#include <clocale>
#include <cstdlib>

#include "UTypes/charset/cp866.h"

namespace tindel {

namespace {

using HighTable = std::array<std::uint8_t, 128>;

// CP866 bytes 0x80-0xFF in each charset; 0 where the charset lacks the character.
constexpr HighTable kKoi8R = {
    0xE1, 0xE2, 0xF7, 0xE7, 0xE4, 0xE5, 0xF6, 0xFA, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xF0,
    0xF2, 0xF3, 0xF4, 0xF5, 0xE6, 0xE8, 0xE3, 0xFE, 0xFB, 0xFD, 0xFF, 0xF9, 0xF8, 0xFC, 0xE0, 0xF1,
    0xC1, 0xC2, 0xD7, 0xC7, 0xC4, 0xC5, 0xD6, 0xDA, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF, 0xD0,
    0x90, 0x91, 0x92, 0x81, 0x87, 0xB2, 0xB4, 0xA7, 0xA6, 0xB5, 0xA1, 0xA8, 0xAE, 0xAD, 0xAC, 0x83,
    0x84, 0x89, 0x88, 0x86, 0x80, 0x8A, 0xAF, 0xB0, 0xAB, 0xA5, 0xBB, 0xB8, 0xB1, 0xA0, 0xBE, 0xB9,
    0xBA, 0xB6, 0xB7, 0xAA, 0xA9, 0xA2, 0xA4, 0xBD, 0xBC, 0x85, 0x82, 0x8D, 0x8C, 0x8E, 0x8F, 0x8B,
    0xD2, 0xD3, 0xD4, 0xD5, 0xC6, 0xC8, 0xC3, 0xDE, 0xDB, 0xDD, 0xDF, 0xD9, 0xD8, 0xDC, 0xC0, 0xD1,
    0xB3, 0xA3, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x9C, 0x95, 0x9E, 0x96, 0x00, 0x00, 0x94, 0x9A,
};

// Windows-1251 and ISO-8859-5 keep the Cyrillic letters in three runs; box drawing is absent.
constexpr HighTable letters_in_runs(std::uint8_t upper, std::uint8_t lower_a, std::uint8_t lower_r,
                                    const std::array<std::uint8_t, 16>& signs) {
  HighTable t{};
  for (int i = 0; i < 32; ++i)
    t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(upper + i);
  for (int i = 0; i < 16; ++i) {
    t[static_cast<std::size_t>(32 + i)] = static_cast<std::uint8_t>(lower_a + i);
    t[static_cast<std::size_t>(96 + i)] = static_cast<std::uint8_t>(lower_r + i);
    t[static_cast<std::size_t>(112 + i)] = signs[static_cast<std::size_t>(i)];
  }
  return t;
}

// The signs of CP866 0xF0-0xFF: Ё ё Є є Ї ї Ў ў ° ∙ · √ № ¤ ■ and the no-break space.
constexpr HighTable kCp1251 = letters_in_runs(
    0xC0, 0xE0, 0xF0,
    {0xA8, 0xB8, 0xAA, 0xBA, 0xAF, 0xBF, 0xA1, 0xA2, 0xB0, 0, 0xB7, 0, 0xB9, 0xA4, 0, 0xA0});
constexpr HighTable kIso8859_5 =
    letters_in_runs(0xB0, 0xD0, 0xE0,
                    {0xA1, 0xF1, 0xA4, 0xF4, 0xA7, 0xF7, 0xAE, 0xFE, 0, 0, 0, 0, 0xF0, 0, 0, 0xA0});

const HighTable* high_table(CharsetKind kind) {
  switch (kind) {
    case CharsetKind::kKoi8R:
      return &kKoi8R;
    case CharsetKind::kCp1251:
      return &kCp1251;
    case CharsetKind::kIso8859_5:
      return &kIso8859_5;
    default:
      return nullptr;
  }
}

std::string normalized(std::string_view name) {
  std::string letters;
  for (char c : name)
    if (std::isalnum(static_cast<unsigned char>(c)))
      letters.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  return letters;
}

}  // namespace

Charset::Charset(CharsetKind kind) : kind_(kind) {
  for (int b = 0; b < 0x80; ++b) {
    to_charset_[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(b);
    from_charset_[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(b);
  }
  const HighTable* table = high_table(kind);
  for (int b = 0x80; b < 0x100; ++b) {
    std::uint8_t out = kind == CharsetKind::kCp866 ? static_cast<std::uint8_t>(b) : 0;
    if (table) out = (*table)[static_cast<std::size_t>(b - 0x80)];
    to_charset_[static_cast<std::size_t>(b)] = out;
    if (out != 0) from_charset_[out] = static_cast<std::uint8_t>(b);
  }
}

void Charset::append_display(std::string& out, std::uint8_t cp866) const {
  if (is_utf8() || kind_ == CharsetKind::kCp866 || cp866 < 0x80)
    return tindel::append_display(out, cp866, is_utf8());
  std::uint8_t byte = to_charset_[cp866];
  out.push_back(byte == 0 ? '?' : static_cast<char>(byte));
}

// Printable ASCII shows as itself in every charset, so runs of it are copied whole.
std::string Charset::display(std::string_view cp866) const {
  std::string out;
  out.reserve(cp866.size());
  auto plain = [](char c) { return c >= 0x20 && c < 0x7F; };
  for (std::size_t i = 0; i < cp866.size();) {
    std::size_t run = i;
    while (run < cp866.size() && plain(cp866[run]))
      ++run;
    out.append(cp866.substr(i, run - i));
    if (run < cp866.size()) append_display(out, static_cast<std::uint8_t>(cp866[run]));
    i = run + 1;
  }
  return out;
}

std::string Charset::file_name(std::string_view cp866) const {
  std::string out;
  for (char c : cp866) {
    auto byte = static_cast<std::uint8_t>(c);
    if (byte < 0x80)
      out.push_back(c);
    else
      append_display(out, byte);
  }
  return out;
}

std::string Charset::typed_text(std::string_view bytes) const {
  if (is_utf8()) return utf8_to_cp866(bytes);
  std::string out;
  for (char c : bytes) {
    std::uint8_t byte = from_charset_[static_cast<std::uint8_t>(c)];
    out.push_back(byte == 0 && c != 0 ? '?' : static_cast<char>(byte));
  }
  return out;
}

CharsetKind charset_of(std::string_view codeset, std::string_view locale_name) {
  if (locale_name.empty() || locale_name == "C" || locale_name == "POSIX")
    return CharsetKind::kUtf8;
  std::string name = normalized(codeset);
  if (name.empty() || name == "utf8") return CharsetKind::kUtf8;
  if (name == "koi8r") return CharsetKind::kKoi8R;
  if (name == "cp1251" || name == "windows1251") return CharsetKind::kCp1251;
  if (name == "cp866" || name == "ibm866") return CharsetKind::kCp866;
  if (name == "iso88595") return CharsetKind::kIso8859_5;
  return CharsetKind::kAscii;
}

std::string_view codeset_of_locale_name(std::string_view name) {
  auto dot = name.find('.');
  if (dot == std::string_view::npos) return {};
  name.remove_prefix(dot + 1);
  return name.substr(0, name.find('@'));
}

Charset locale_charset() {
  const char* set = std::setlocale(LC_CTYPE, nullptr);
  std::string_view name = set ? set : "";
  if (name != "C" && name != "POSIX" && !name.empty())
    return Charset(charset_of(::nl_langinfo(CODESET), name));
  // The locale that the environment asks for may be missing from this system; its name
  // still tells what the terminal speaks.
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return Charset(charset_of(codeset_of_locale_name(value), value));
  }
  return Charset(CharsetKind::kUtf8);
}

}  // namespace tindel
