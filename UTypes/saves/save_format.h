#pragma once
// How one variable slot is written on its line of a saved game, and read back.
#include <string>
#include <string_view>

namespace tindel {

// "<value with three decimals> <name>". A name holding CR or LF cannot stand on one line:
// it is written with "\r", "\n" and "\\" escapes, and the value then gets four decimals,
// which marks the line (the plain form always has exactly three).
std::string format_slot_line(double value, std::string_view name);
// The same line appended to out (no line end).
void append_slot_line(std::string& out, double value, std::string_view name);

struct SlotLine {
  bool ok = false;
  double value = 0.0;
  std::string name;  // at most 63 characters
};

// Reads a slot line; ok is false when no number stands at its start.
SlotLine parse_slot_line(std::string_view line);

}  // namespace tindel
