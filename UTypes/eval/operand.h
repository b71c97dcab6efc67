#pragma once
// The value of an operand text: a number, an inventory test, a variable.
#include <string_view>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

double operand_value(InterpreterState& s, std::string_view text);

// Reads the whole text as a decimal number (leading blanks, sign, digits, fraction,
// exponent); false when it is not one.
bool parse_decimal(std::string_view text, double& value);

// The text read as a decimal number (leading blanks, sign, digits, fraction, exponent);
// 0 when the whole text is not such a number.
double text_as_number(std::string_view text);

}  // namespace tindel
