#pragma once
// The variable table: 751 slots of a name and a double. Keys carry a kind prefix: "$"
// numeric variable (and visit counter), ";" inventory item, "%" string variable, whose value
// is the distance to a text slot holding the text in its name.
#include <cstdint>
#include <string>
#include <string_view>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

// Finds the slot of key, or creates it in the highest free slot below var_boundary.
// The empty key always creates a fresh slot. A full table is "[prog] VAR TABLE OUT".
int getvar(InterpreterState& s, std::string_view key);

// Empties every slot and creates the system variables (start-up).
void create_system_variables(InterpreterState& s);

// The slot a string variable's slot v points at, or -1 when v does not point inside the
// table. Values set by saved games or by hand may point anywhere; such a distance is never
// used as an index: the text then reads as empty and the number as 0.
int text_slot_of(const InterpreterState& s, int v);

// Whether slot i is the text slot of a string variable (a "%" slot and i point at each
// other). A text such as ";key" or "$x" looks like an item's or a variable's name; such a
// slot is never taken for one: changing it would free the text slot for another variable.
bool is_text_slot_of_string_variable(const InterpreterState& s, int i);

// The text of string variable `name` (script name, no prefix); empty when it has none.
std::string string_variable_text(InterpreterState& s, std::string_view name);

// Makes slot v (found under a "%" key) a string variable with a fresh text slot, unless it
// already is one. Returns the text slot, or -1 when v points outside the table.
int ensure_text_slot(InterpreterState& s, int v);

double& var_value(InterpreterState& s, std::string_view key);

}  // namespace tindel
