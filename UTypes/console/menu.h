#pragma once
// The button menu: shows the text block, lets the player walk the buttons and choose one,
// lists the inventory ("i") and runs item-use actions ("u").
#include <cstdint>
#include <string>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

// n < 0: only show the text block. n = 0: wait for a choice. n > 0: wait about n ms.
// Returns the chosen label, or empty (shown only, time ran out, syntax check).
std::string menu(InterpreterState& s, std::int32_t n);

}  // namespace tindel
