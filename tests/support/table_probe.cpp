#include "support/table_probe.h"

#include "UTypes/eval/numeric.h"

namespace tindel::testing {

namespace {

double value_at(const InterpreterState& s, int i) {
  return s.var_values[static_cast<std::size_t>(i)];
}

std::string_view name_at(const InterpreterState& s, int i) {
  return s.var_names[static_cast<std::size_t>(i)].view();
}

// Where slot i points when read as a string variable, or -1 outside the table.
int target_of(const InterpreterState& s, int i) {
  double t = i + value_at(s, i);
  if (!(t >= 0.0 && t <= kLastSlot)) return -1;
  return to_int32(t);
}

}  // namespace

int live_slot(const InterpreterState& s, std::string_view key) {
  for (int i = kLastSlot; i >= 1; --i)
    if (name_at(s, i) == key) return value_at(s, i) != 0.0 ? i : -1;
  return -1;
}

double live_value(const InterpreterState& s, std::string_view key) {
  int i = live_slot(s, key);
  return i < 0 ? 0.0 : value_at(s, i);
}

std::string text_of(const InterpreterState& s, std::string_view name) {
  int v = live_slot(s, "%" + std::string(name));
  if (v < 0) return {};
  int t = target_of(s, v);
  return t < 0 ? std::string() : std::string(name_at(s, t));
}

int used_slots(const InterpreterState& s) {
  int n = 0;
  for (int i = 1; i <= kLastSlot; ++i)
    n += value_at(s, i) != 0.0;
  return n;
}

bool paired_slot(const InterpreterState& s, int i) {
  if (value_at(s, i) == 0.0) return false;
  int t = target_of(s, i);
  return t > 0 && t != i && target_of(s, t) == i &&
         (name_at(s, i).starts_with('%') || name_at(s, t).starts_with('%'));
}

std::string pairing_fault(const InterpreterState& s) {
  for (int i = 1; i <= kLastSlot; ++i) {
    if (value_at(s, i) == 0.0 || paired_slot(s, i)) continue;
    int t = target_of(s, i);
    std::string_view name = name_at(s, i);
    if (!name.starts_with('%') && (name.starts_with('$') || name.starts_with(';'))) continue;
    return "slot " + std::to_string(i) + " \"" + std::string(name) + "\" points at " +
           std::to_string(t) + (t > 0 ? " \"" + std::string(name_at(s, t)) + "\"" : "");
  }
  return {};
}

std::string block_text(const InterpreterState& s) {
  return std::string(reinterpret_cast<const char*>(s.block_chars.data()),
                     static_cast<std::size_t>(s.block_count));
}

}  // namespace tindel::testing
