#pragma once
// The statement interpreter: one statement per call, chosen by the current token.
#include "UTypes/state/interpreter_state.h"

namespace tindel {

void parser(InterpreterState& s);

// Whether a token begins a statement of its own (a keyword of a statement); after a name, any
// other token makes the statement an assignment.
bool begins_statement(TokenKind kind);

}  // namespace tindel
