#pragma once
// The 56 token kinds of the quest language, in code order, and their printable names.
#include <cstdint>
#include <string_view>

namespace tindel {

enum class TokenKind : std::int32_t {
  Unknown,     // "?"      before the first token
  Number,      // "NUMBER" only while operand text is gathered
  Ident,       // "IDENT"  only while operand text is gathered
  Plus, Minus, Star, Slash, Backslash,
  Equal, NotEqual, Greater, GreaterEqual, Less, LessEqual,
  And, Or, Not, If, Then, Else, Goto, Proc, End, P, Pln, Btn, Inv, Rnd, Instr, Cls, Input, Pause,
  Music, Play, Invkill, Perkill, Save, Common, Anykey,
  Comma, Hash, Dollar, Amp, Underscore, LParen, RParen, Colon, Semicolon,
  Newline,  // "<NEWLN>"
  Eof,      // "<EOF>"
  Strlen, Strcmp, Strchar, Strcopy, Strpos, Strset,
};

constexpr int kTokenKinds = 56;

// The name printed in error reports and trace lines.
std::string_view default_token_name(TokenKind kind);

}  // namespace tindel
