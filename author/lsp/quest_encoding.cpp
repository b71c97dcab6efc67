#include "author/lsp/quest_encoding.h"

#include <array>
#include <cctype>
#include <optional>

#include "UTypes/charset/cp866.h"

namespace tindel::author::lsp {

namespace {

// 0x80-0xBF of Windows-1251; 0xC0-0xFF are А..я in order. 0 marks the one unused byte (0x98).
constexpr std::array<char16_t, 64> kCp1251High = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    0,         u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',
};

char byte_of(int value) {
  return static_cast<char>(static_cast<unsigned char>(value));
}

char unicode_to_cp866(char32_t code_point) {
  std::optional<std::uint8_t> byte = cp866_from_unicode(code_point);
  return byte ? byte_of(*byte) : '?';
}

// Calls emit(code_point) for each character of the text; malformed bytes come as '?'.
template <typename Emit>
void for_each_code_point(std::string_view utf8, Emit emit) {
  while (!utf8.empty()) {
    Utf8Step step = decode_utf8(utf8);
    bool good = step.status == Utf8Step::Status::kChar;
    emit(good ? step.code_point : U'?');
    utf8.remove_prefix(step.length > 0 ? step.length : 1);
  }
}

std::string with_crlf_line_ends(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

char unicode_to_cp1251(char32_t code_point) {
  if (code_point < 0x80) return byte_of(static_cast<int>(code_point));
  if (code_point >= 0x410 && code_point <= 0x44F) return byte_of(0xC0 + (code_point - 0x410));
  for (std::size_t i = 0; i < kCp1251High.size(); ++i) {
    if (kCp1251High[i] != 0 && kCp1251High[i] == code_point) return byte_of(0x80 + int(i));
  }
  return '?';
}

bool keeps_carriage_returns(std::string_view text) {
  return text.find('\r') != std::string_view::npos;
}

std::string quest_bytes_from_editor(std::string_view utf8, char codepage) {
  std::string text = keeps_carriage_returns(utf8) ? std::string(utf8) : with_crlf_line_ends(utf8);
  if (codepage == 'u') return text;
  std::string out;
  out.reserve(text.size());
  for_each_code_point(text, [&](char32_t cp) {
    out += codepage == 'd' ? unicode_to_cp866(cp) : unicode_to_cp1251(cp);
  });
  return out;
}

char codepage_from_first_line(std::string_view text) {
  std::string_view line = text.substr(0, text.find_first_of("\r\n"));
  std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos || line[start] != ';') return 0;
  std::string lower;
  for (char c : line.substr(start + 1)) {
    if (c != ' ' && c != '\t')
      lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  std::size_t at = lower.find("codepage");
  if (at == std::string::npos) return 0;
  std::size_t value = at + 8;
  if (value < lower.size() && (lower[value] == ':' || lower[value] == '=')) ++value;
  if (value >= lower.size()) return 0;
  char page = lower[value];
  bool ends_word =
      value + 1 == lower.size() || !std::isalnum(static_cast<unsigned char>(lower[value + 1]));
  return (page == 'w' || page == 'd' || page == 'u') && ends_word ? page : 0;
}

}  // namespace tindel::author::lsp
