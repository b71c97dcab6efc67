#pragma once
// The statement interpreter: one statement per call, chosen by the current token.
#include "UTypes/state/interpreter_state.h"

namespace tindel {

void parser(InterpreterState& s);

}  // namespace tindel
