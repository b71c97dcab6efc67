#include "UTypes/saves/save_format.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

namespace {

std::string fixed(double value, int decimals) {
  char buf[512];  // the largest double has 309 integer digits
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  return buf;
}

std::string escape_line_breaks(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == '\\') out += "\\\\";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
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

bool has_line_break(std::string_view name) { return name.find_first_of("\r\n") != name.npos; }

// Digits after the decimal point of the number text, or -1 without a point.
int decimals_of(std::string_view number) {
  auto dot = number.find('.');
  return dot == number.npos ? -1 : static_cast<int>(number.size() - dot - 1);
}

}  // namespace

std::string format_slot_line(double value, std::string_view name) {
  if (has_line_break(name)) return fixed(value, 4) + " " + escape_line_breaks(name);
  return fixed(value, 3) + " " + std::string(name);
}

SlotLine parse_slot_line(std::string_view line) {
  SlotLine slot;
  std::string text(line);
  const char* start = text.c_str();
  while (*start == ' ' || *start == '\t') ++start;
  char* end = nullptr;
  slot.value = std::strtod(start, &end);
  if (end == start) return slot;
  slot.ok = true;
  std::string_view number(start, static_cast<std::size_t>(end - start));
  std::string_view rest(end);
  if (!rest.empty()) rest.remove_prefix(1);  // the separating blank
  if (decimals_of(number) == 4) {
    slot.name = unescape_line_breaks(rest);
  } else {
    slot.name = std::string(rest);
  }
  if (slot.name.size() > static_cast<std::size_t>(kNameMax)) slot.name.resize(kNameMax);
  return slot;
}

}  // namespace tindel
