#pragma once
// The text block: what the quest prints collects here with its colours until the menu
// shows it; it counts 80-column lines and ends a page at 24 with "[next]".
#include <cstdint>
#include <string_view>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

void outchar(InterpreterState& s, std::uint8_t ch);
void outtext(InterpreterState& s, std::string_view text);

// Ends the page when the lines of text and of buttons reach 24.
void nextpage(InterpreterState& s);

// The attribute a style variable ("$styletextcolor", ...) gives now.
std::uint8_t style_colour(InterpreterState& s, std::string_view key);

}  // namespace tindel
