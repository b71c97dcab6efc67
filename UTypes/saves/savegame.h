#pragma once
// Saved games: the variable table, the call stack, the common location and the label to
// resume at, as a text file ("save.txt"; "debug.txt" after an error).
#include <string>
#include <string_view>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

// The first line of "save.txt".
extern const char* const kSaveHeader;

// Writes the saved game; does nothing in a syntax check.
void savegame(InterpreterState& s, const std::string& file, std::string_view label,
              std::string_view header);

// Reads a saved game into the state; does nothing in a syntax check or when the file
// cannot be opened.
void loadgame(InterpreterState& s, const std::string& file);

}  // namespace tindel
