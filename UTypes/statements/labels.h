#pragma once
// Labels, jumps and procedure calls. A label line is ":" and the label; a jump puts the
// reader on the character that ends the label line.
#include <string>
#include <string_view>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

// Jumps to the label (play), checks that it exists (syntax level 2) or does nothing
// (level 1). An empty name is "[gotolabel] LABELNAME expected" in every mode.
void gotolabel(InterpreterState& s, const std::string& name);

// Searches aux_file from its position for the label `name` (exact) or for the next label
// that begins with `name` (prefix, returned lower-cased without blanks; empty at the end).
std::string findlabel(InterpreterState& s, const std::string& name, bool prefix);

// Opens aux_file on the quest; an input/output failure when it cannot be opened.
void open_aux_on_quest(InterpreterState& s);

// Syntax level 2: reports "[findlabel] label <name> not found" when the label is missing.
void check_label(InterpreterState& s, const std::string& name);

// Calls the label as a procedure. `resume`, when given, is where the caller's line goes on
// after the return (a `proc` that is not the last statement of its line).
void call(InterpreterState& s, const std::string& name, const ReaderMark* resume = nullptr);

// The return performed by `end` inside a procedure (play): the reader goes back to the
// start of the recorded line, or to the remembered point in the middle of it.
void return_from_call(InterpreterState& s);

// Where the reader stands now, and putting it back there.
ReaderMark reader_mark(const InterpreterState& s);
void restore_mark(InterpreterState& s, const ReaderMark& mark);

// The Escape poll that a read over many lines would have made.
void poll_break(InterpreterState& s);

}  // namespace tindel
