#pragma once
// The fatal error report, warnings of the syntax check, and the trace.
#include <string>
#include <string_view>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

// "Error: <message>  (STR:<line>,POS:<column>,TOKEN:<name>)" in the form of the moment.
std::string error_text(const InterpreterState& s, std::string_view message);

// Writes "debug.txt", shows the error, waits for Enter and ends the program: status 1 for
// an error, 0 when the report is the player's own quit (Escape).
[[noreturn]] void reporterror(InterpreterState& s, std::string_view message, int status = 1);

// A syntax-check warning: "warning: STR <line>" + tail, as one console line.
void warning(InterpreterState& s, std::string_view tail);

// One trace line in "log.txt", flushed at once; nothing while the trace is off.
void trace(InterpreterState& s);

// Creates "log.txt" empty and keeps it open for the trace (modes 4, 5, 6).
void open_log(InterpreterState& s);

}  // namespace tindel
