#include "UTypes/charset/cp866.h"

#include <array>

namespace tindel {

namespace {

// Glyphs of the control bytes 0x00-0x1F as a DOS screen shows them.
constexpr std::array<char32_t, 32> kLowGlyphs = {
    U' ',      U'\u263A', U'\u263B', U'\u2665', U'\u2666', U'\u2663', U'\u2660', U'\u2022',
    U'\u25D8', U'\u25CB', U'\u25D9', U'\u2642', U'\u2640', U'\u266A', U'\u266B', U'\u263C',
    U'\u25BA', U'\u25C4', U'\u2195', U'\u203C', U'\u00B6', U'\u00A7', U'\u25AC', U'\u21A8',
    U'\u2191', U'\u2193', U'\u2192', U'\u2190', U'\u221F', U'\u2194', U'\u25B2', U'\u25BC',
};

constexpr char32_t kDelGlyph = U'\u2302';  // 0x7F

// 0x80-0xFF: Cyrillic, pseudo-graphics and the few extra signs of code page 866.
constexpr std::array<char32_t, 128> kHighGlyphs = {
    // 0x80-0x9F: А-Я
    U'\u0410',
    U'\u0411',
    U'\u0412',
    U'\u0413',
    U'\u0414',
    U'\u0415',
    U'\u0416',
    U'\u0417',
    U'\u0418',
    U'\u0419',
    U'\u041A',
    U'\u041B',
    U'\u041C',
    U'\u041D',
    U'\u041E',
    U'\u041F',
    U'\u0420',
    U'\u0421',
    U'\u0422',
    U'\u0423',
    U'\u0424',
    U'\u0425',
    U'\u0426',
    U'\u0427',
    U'\u0428',
    U'\u0429',
    U'\u042A',
    U'\u042B',
    U'\u042C',
    U'\u042D',
    U'\u042E',
    U'\u042F',
    // 0xA0-0xAF: а-п
    U'\u0430',
    U'\u0431',
    U'\u0432',
    U'\u0433',
    U'\u0434',
    U'\u0435',
    U'\u0436',
    U'\u0437',
    U'\u0438',
    U'\u0439',
    U'\u043A',
    U'\u043B',
    U'\u043C',
    U'\u043D',
    U'\u043E',
    U'\u043F',
    // 0xB0-0xDF: shades, box drawing and blocks
    U'\u2591',
    U'\u2592',
    U'\u2593',
    U'\u2502',
    U'\u2524',
    U'\u2561',
    U'\u2562',
    U'\u2556',
    U'\u2555',
    U'\u2563',
    U'\u2551',
    U'\u2557',
    U'\u255D',
    U'\u255C',
    U'\u255B',
    U'\u2510',
    U'\u2514',
    U'\u2534',
    U'\u252C',
    U'\u251C',
    U'\u2500',
    U'\u253C',
    U'\u255E',
    U'\u255F',
    U'\u255A',
    U'\u2554',
    U'\u2569',
    U'\u2566',
    U'\u2560',
    U'\u2550',
    U'\u256C',
    U'\u2567',
    U'\u2568',
    U'\u2564',
    U'\u2565',
    U'\u2559',
    U'\u2558',
    U'\u2552',
    U'\u2553',
    U'\u256B',
    U'\u256A',
    U'\u2518',
    U'\u250C',
    U'\u2588',
    U'\u2584',
    U'\u258C',
    U'\u2590',
    U'\u2580',
    // 0xE0-0xEF: р-я
    U'\u0440',
    U'\u0441',
    U'\u0442',
    U'\u0443',
    U'\u0444',
    U'\u0445',
    U'\u0446',
    U'\u0447',
    U'\u0448',
    U'\u0449',
    U'\u044A',
    U'\u044B',
    U'\u044C',
    U'\u044D',
    U'\u044E',
    U'\u044F',
    // 0xF0-0xFF: Ё ё Є є Ї ї Ў ў ° ∙ · √ № ¤ ■ and the no-break space
    U'\u0401',
    U'\u0451',
    U'\u0404',
    U'\u0454',
    U'\u0407',
    U'\u0457',
    U'\u040E',
    U'\u045E',
    U'\u00B0',
    U'\u2219',
    U'\u00B7',
    U'\u221A',
    U'\u2116',
    U'\u00A4',
    U'\u25A0',
    U'\u00A0',
};

bool is_continuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

char32_t cp866_glyph(std::uint8_t byte) {
  if (byte < 0x20) return kLowGlyphs[byte];
  if (byte == 0x7F) return kDelGlyph;
  if (byte < 0x80) return byte;
  return kHighGlyphs[byte - 0x80];
}

std::optional<std::uint8_t> cp866_from_unicode(char32_t code_point) {
  if (code_point < 0x80) return static_cast<std::uint8_t>(code_point);
  for (std::size_t i = 0; i < kHighGlyphs.size(); ++i)
    if (kHighGlyphs[i] == code_point) return static_cast<std::uint8_t>(0x80 + i);
  for (std::size_t i = 1; i < kLowGlyphs.size(); ++i)
    if (kLowGlyphs[i] == code_point) return static_cast<std::uint8_t>(i);
  if (code_point == kDelGlyph) return std::uint8_t{0x7F};
  return std::nullopt;
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

Utf8Step decode_utf8(std::string_view bytes) {
  using Status = Utf8Step::Status;
  if (bytes.empty()) return {Status::kIncomplete};
  const auto lead = static_cast<unsigned char>(bytes[0]);
  if (lead < 0x80) return {Status::kChar, lead, 1};
  std::size_t length = 0;
  char32_t cp = 0;
  char32_t smallest = 0;  // below it the form is overlong
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07, smallest = 0x10000;
  } else {
    return {Status::kInvalid, 0, 1};
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= bytes.size()) return {Status::kIncomplete};
    const auto next = static_cast<unsigned char>(bytes[i]);
    if (!is_continuation(next)) return {Status::kInvalid, 0, i};
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    return {Status::kInvalid, 0, length};
  return {Status::kChar, cp, length};
}

std::string utf8_to_cp866(std::string_view utf8) {
  std::string out;
  while (!utf8.empty()) {
    Utf8Step step = decode_utf8(utf8);
    if (step.status == Utf8Step::Status::kChar) {
      out.push_back(static_cast<char>(cp866_from_unicode(step.code_point).value_or('?')));
      utf8.remove_prefix(step.length);
    } else {
      out.push_back('?');
      utf8.remove_prefix(step.status == Utf8Step::Status::kIncomplete ? utf8.size() : step.length);
    }
  }
  return out;
}

void append_display(std::string& out, std::uint8_t byte, bool utf8) {
  if (utf8) {
    append_utf8(out, cp866_glyph(byte));
  } else if (byte < 0x20 || byte == 0x7F) {
    out.push_back(byte == 0 ? ' ' : '?');
  } else {
    out.push_back(static_cast<char>(byte));
  }
}

std::string cp866_to_display(std::string_view cp866, bool utf8) {
  std::string out;
  for (char c : cp866)
    append_display(out, static_cast<std::uint8_t>(c), utf8);
  return out;
}

}  // namespace tindel
