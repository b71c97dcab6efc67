#pragma once
// How a variable key reads to the author: "%name" is the string variable name, ";key" the
// item key, any other the numeric variable.
#include <string>
#include <string_view>

namespace tindel::author::lsp {

enum class VariableKind { number, text, item };

VariableKind variable_kind(std::string_view key);
// The key without its kind prefix.
std::string_view bare_name(std::string_view key);
// "variable gold", "string variable name", "item key".
std::string describe_variable(std::string_view key);
// A name folded as the scanner folds it (through CP866), in UTF-8 like the index's names.
std::string fold_name(std::string_view name);

}  // namespace tindel::author::lsp
