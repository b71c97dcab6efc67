#include "UTypes/state/token_kind.h"

#include <array>

namespace tindel {

std::string_view default_token_name(TokenKind kind) {
  static constexpr std::array<std::string_view, kTokenKinds> names = {
      "?",      "NUMBER", "IDENT",   "+",       "-",      "*",      "/",      "\\",
      "=",      "<>",     ">",       ">=",      "<",      "<=",     "and",    "or",
      "not",    "if",     "then",    "else",    "goto",   "proc",   "end",    "p",
      "pln",    "btn",    "inv",     "rnd",     "instr",  "cls",    "input",  "pause",
      "music",  "play",   "invkill", "perkill", "save",   "common", "anykey", ",",
      "#",      "$",      "&",       "_",       "(",      ")",      ":",      ";",
      "<NEWLN>", "<EOF>", "strlen",  "strcmp",  "strchar", "strcopy", "strpos", "strset"};
  auto i = static_cast<std::size_t>(kind);
  return i < names.size() ? names[i] : names[0];
}

}  // namespace tindel
