#pragma once
// Numeric and logical expressions over the scanner's tokens. Operands come as operand text
// (token_text) in front of the current delimiter token.
#include "UTypes/state/interpreter_state.h"

namespace tindel {

// Evaluates from the current token; leaves the first token after the expression current.
double expression(InterpreterState& s);

// A draw of `rnd`: 0.000 to 0.999 in steps of 0.001.
double draw_rnd(InterpreterState& s);

}  // namespace tindel
