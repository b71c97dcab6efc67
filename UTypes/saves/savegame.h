#pragma once
// Saved games: the variable table, the call stack, the common location and the label to
// resume at, as a text file ("save.txt"; "debug.txt" after an error).
#include <string>
#include <string_view>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

// The first line of "save.txt".
extern const char* const kSaveHeader;

// The saved game's whole text (CR LF line ends), for savegame.
std::string saved_game_text(const InterpreterState& s, std::string_view label,
                            std::string_view header);

// Writes text into a file beside `file` and puts it in file's place only once it is complete,
// so a failed write never loses the file that was there: the text is written whole or not at
// all. A failure ends the program with an input/output failure.
void replace_file_whole(const std::string& file, std::string_view text);

// Writes the saved game (one write, then the rename); does nothing in a syntax check.
void savegame(InterpreterState& s, const std::string& file, std::string_view label,
              std::string_view header);

// Reads a saved game into the state; does nothing in a syntax check or when the file
// cannot be opened.
void loadgame(InterpreterState& s, const std::string& file);

}  // namespace tindel
