#include "UTypes/saves/save_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

namespace {

// Infinities and NaN have no decimals to count; their escaped lines carry this suffix.
constexpr std::string_view kEscapedMark = ".0000";

// The value in fixed notation with that many decimals, exactly as printf's "%.*f" writes it
// in the C locale (to_chars promises the same digits, at a fraction of the cost).
void append_fixed(std::string& out, double value, int decimals) {
  char buf[512];  // the largest double has 309 integer digits
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
  auto [end, error] =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  out.append(buf, error == std::errc() ? end : buf);
#else
  int length = std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  out.append(buf, length > 0 ? static_cast<std::size_t>(length) : 0);
#endif
}

// Three decimals of a value that is a whole number of thousandths, to double precision, as
// most values of a quest are (counters, money, colours): its rounding is that number itself,
// and digits of an integer are cheap. False for any other value.
bool append_whole_thousandths(std::string& out, double value) {
  const double thousandths = value * 1000.0;
  // Below 2^53 the product is off by far less than half a thousandth.
  if (!(std::fabs(thousandths) < 9e15) || thousandths != std::trunc(thousandths)) return false;
  auto n = static_cast<std::uint64_t>(std::fabs(thousandths));
  char digits[24];
  char* p = digits + sizeof digits;
  for (int i = 0; i < 3; ++i, n /= 10)
    *--p = static_cast<char>('0' + n % 10);
  *--p = '.';
  do {
    *--p = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  if (std::signbit(value)) *--p = '-';  // printf keeps the sign of -0.0 too
  out.append(p, digits + sizeof digits);
  return true;
}

std::string fixed(double value, int decimals) {
  std::string out;
  append_fixed(out, value, decimals);
  return out;
}

// "\\" for a backslash, "\r" and "\n" for the line breaks.
std::string escape_line_breaks(std::string_view name) {
  std::string out;
  for (char c : name) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string unescape_line_breaks(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char c = text[++i];
    out += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
  }
  return out;
}

bool has_line_break(std::string_view name) {
  return name.find_first_of("\r\n") != name.npos;
}

// The value of an escaped line: four decimals, or the mark after an infinity or NaN.
std::string escaped_value(double value) {
  if (std::isfinite(value)) return fixed(value, 4);
  return fixed(value, 3) + std::string(kEscapedMark);
}

// Digits after the decimal point of the number text, or -1 without a point.
int decimals_of(std::string_view number) {
  auto dot = number.find('.');
  return dot == number.npos ? -1 : static_cast<int>(number.size() - dot - 1);
}

// True when the line after its number is in the escaped form; takes the mark off `rest`.
bool take_escape_mark(std::string_view number, double value, std::string_view& rest) {
  if (std::isfinite(value)) return decimals_of(number) == 4;
  if (!rest.starts_with(kEscapedMark)) return false;
  rest.remove_prefix(kEscapedMark.size());
  return true;
}

// number: [blanks] a number as strtod reads it; the length read goes to `used`, 0 for none.
double read_number(std::string_view line, std::size_t& used) {
  std::size_t skip = line.find_first_not_of(" \t");
  if (skip == line.npos) skip = line.size();
  std::string text(line.substr(skip, line.find('\0', skip) - skip));  // strtod stops at zero
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  std::size_t length = static_cast<std::size_t>(end - text.c_str());
  used = length == 0 ? 0 : skip + length;
  return value;
}

}  // namespace

std::string format_slot_line(double value, std::string_view name) {
  std::string line;
  append_slot_line(line, value, name);
  return line;
}

void append_slot_line(std::string& out, double value, std::string_view name) {
  if (has_line_break(name)) {
    out += escaped_value(value) + " " + escape_line_breaks(name);
    return;
  }
  if (!append_whole_thousandths(out, value)) append_fixed(out, value, 3);
  out += ' ';
  out += name;
}

// slot line: number [one separator] name
SlotLine parse_slot_line(std::string_view line) {
  SlotLine slot;
  std::size_t used = 0;
  slot.value = read_number(line, used);
  if (used == 0) return slot;
  slot.ok = true;
  std::string_view number = line.substr(0, used), rest = line.substr(used);
  bool escaped = take_escape_mark(number, slot.value, rest);
  if (!rest.empty()) rest.remove_prefix(1);  // the separating blank
  slot.name = escaped ? unescape_line_breaks(rest) : std::string(rest);
  if (slot.name.size() > static_cast<std::size_t>(kNameMax)) slot.name.resize(kNameMax);
  return slot;
}

}  // namespace tindel
