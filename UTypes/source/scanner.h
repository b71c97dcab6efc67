#pragma once
// The scanner: one current character (cur_char) and one current token (token_kind, with the
// operand text gathered before it in token_text).
#include <string>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

// Advances cur_char by one character of the quest; a CR LF becomes the end-of-line marker
// and the end of the quest the end-of-file marker.
void getchar(InterpreterState& s);

// Reads up to the next delimiter token, gathering names and numbers into token_text.
void gettoken(InterpreterState& s);

// Appends cur_char and the characters after it up to the next "&", "#", line end or quest
// end to out, reading them as that many getchar calls would (text of p, pln and the like).
void read_text_run(InterpreterState& s, std::string& out);

// Reads a character through the quest's conversions (".qs1" decoding, then code page).
std::uint8_t decode_quest_byte(const InterpreterState& s, std::uint8_t b);

}  // namespace tindel
