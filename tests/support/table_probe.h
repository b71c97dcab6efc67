#pragma once
// Looks into the variable table and the text block without changing them, for tests of the
// statements that keep data.
#include <string>
#include <string_view>

#include "UTypes/state/interpreter_state.h"

namespace tindel::testing {

// The slot a lookup of `key` would find holding a value (not 0), or -1: absent and zero are
// the same thing in the table.
int live_slot(const InterpreterState& s, std::string_view key);

// The value of the live slot of `key`, or 0.
double live_value(const InterpreterState& s, std::string_view key);

// The text of string variable `name` (script name), or nothing when it has none.
std::string text_of(const InterpreterState& s, std::string_view name);

// Slots in use (value not 0), slot 0 left out.
int used_slots(const InterpreterState& s);

// Slot i and the slot it points at point at each other, and one of them is named as a string
// variable: the two slots of one string variable.
bool paired_slot(const InterpreterState& s, int i);

// Empty when every slot in use is a numeric variable or an item ("$", ";") or one of a string
// variable's two slots pointing at each other; otherwise the first slot that is none of these
// (a string variable or text slot left pointing at a slot that is no longer its partner).
std::string pairing_fault(const InterpreterState& s);

// The characters waiting in the text block.
std::string block_text(const InterpreterState& s);

}  // namespace tindel::testing
