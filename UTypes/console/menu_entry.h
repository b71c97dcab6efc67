#pragma once
// How the entries of the menu's list read, and the keys that choose one by its number: in
// the accessible mode nothing is told by colour alone.
#include <cstdint>
#include <string>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

// What stands before the caption of entry i when entry sel is highlighted. In the accessible
// mode: "> " on the highlighted entry and two blanks on the others, then the entry's number
// ("3. ") for the first nine, blanks as wide for the rest; otherwise the console's own mark.
std::string entry_prefix(const InterpreterState& s, int i, int sel);

// In the accessible mode the digits 1 to 9 choose the entry of that number: its index, or -1
// for any other key, a number beyond the list, or outside the mode.
int numbered_entry(const InterpreterState& s, std::uint8_t key);

}  // namespace tindel
