#pragma once
// Text read straight from the quest up to "&" or the line end, with "#...$" substitutions.
#include "UTypes/state/interpreter_state.h"

namespace tindel {

// Reads a text from cur_char; leaves it in str_result and cur_char on the "&" or marker
// that ended it.
void string(InterpreterState& s);

}  // namespace tindel
