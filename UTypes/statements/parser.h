#pragma once
// The statement interpreter: one statement per call, chosen by the current token.
#include "UTypes/moments/moment.h"
#include "UTypes/state/interpreter_state.h"

namespace tindel {

void parser(InterpreterState& s);

// After a moment of play is restored: its menu waits again, and the statement that waited
// (a location's end or a pause) goes on with the choice as it would have.
void wait_at_menu_again(InterpreterState& s, MenuWait wait);

// Whether a token begins a statement of its own (a keyword of a statement); after a name, any
// other token makes the statement an assignment.
bool begins_statement(TokenKind kind);

}  // namespace tindel
