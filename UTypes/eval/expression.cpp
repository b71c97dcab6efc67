#include "UTypes/eval/expression.h"

#include <string>

#include "UTypes/diagnostics/report.h"
#include "UTypes/eval/numeric.h"
#include "UTypes/eval/operand.h"
#include "UTypes/eval/string_expr.h"
#include "UTypes/source/scanner.h"
#include "UTypes/state/nesting_guard.h"

namespace tindel {

namespace {

using K = TokenKind;

double truth(bool b) {
  return b ? 1.0 : 0.0;
}

double relation(InterpreterState& s);
double sum(InterpreterState& s);
double term(InterpreterState& s);
double factor(InterpreterState& s);
double negation(InterpreterState& s);

// relation: sum [ ("<" | ">" | "=" | "<>" | "<=" | ">=") sum ]
double relation(InterpreterState& s) {
  double a = sum(s);
  K op = s.token_kind;
  if (op < K::Equal || op > K::LessEqual) return a;
  gettoken(s);
  double b = sum(s);
  switch (op) {
    case K::Equal:
      return truth(a == b);
    case K::NotEqual:
      return truth(a != b);
    case K::Greater:
      return truth(a > b);
    case K::GreaterEqual:
      return truth(a >= b);
    case K::Less:
      return truth(a < b);
    default:
      return truth(a <= b);
  }
}

// sum: term { ("+" | "-") term }
double sum(InterpreterState& s) {
  double a = term(s);
  while (s.token_kind == K::Plus || s.token_kind == K::Minus) {
    K op = s.token_kind;
    gettoken(s);
    double b = term(s);
    a = op == K::Plus ? a + b : a - b;
  }
  return a;
}

// The remainder of the truncated operands, with the sign of the dividend; 0 for a divisor
// of 0 (and of -1, where the quotient of the smallest integer would overflow).
double remainder_of(double a, double b) {
  std::int32_t ia = to_int32(a), ib = to_int32(b);
  if (ib == 0 || ib == -1) return 0.0;
  return static_cast<double>(ia % ib);
}

// term: factor { ("*" | "/" | "\") factor }
double term(InterpreterState& s) {
  double a = factor(s);
  while (s.token_kind == K::Star || s.token_kind == K::Slash || s.token_kind == K::Backslash) {
    K op = s.token_kind;
    gettoken(s);
    double b = factor(s);
    if (op == K::Star)
      a = a * b;
    else if (op == K::Slash)
      a = b == 0.0 ? 0.0 : a / b;
    else
      a = remainder_of(a, b);
  }
  return a;
}

// Reads one text argument of a string built-in up to its "&" and steps past the "&".
std::string text_argument(InterpreterState& s, const char* message) {
  string(s);
  if (s.cur_char != '&') reporterror(s, message);
  getchar(s);
  return s.str_result;
}

// strlen text&
double builtin_strlen(InterpreterState& s) {
  double n = static_cast<double>(text_argument(s, "[strlen] \"&\" expected").size());
  gettoken(s);
  return n;
}

// strcmp a&b&
double builtin_strcmp(InterpreterState& s) {
  s.str_second = text_argument(s, "[strcmp] \"&\" expected");
  std::string b = text_argument(s, "[strcmp] \"&\" expected");
  int c = s.str_second.compare(b);
  gettoken(s);
  return c > 0 ? 1.0 : c < 0 ? -1.0 : 0.0;
}

// strchar n, text&
double builtin_strchar(InterpreterState& s) {
  gettoken(s);
  std::int32_t n = to_int32(expression(s));
  if (s.token_kind != K::Comma) reporterror(s, "[strchar] \",\" expected");
  std::string text = text_argument(s, "[strchar] \"&\" expected");
  double code = 0.0;
  if (n >= 1 && static_cast<std::size_t>(n) <= text.size())
    code = static_cast<std::uint8_t>(text[static_cast<std::size_t>(n - 1)]);
  gettoken(s);
  return code;
}

// strpos a&b&
double builtin_strpos(InterpreterState& s) {
  s.str_second = text_argument(s, "[strpos] \"&\" expected");
  std::string b = text_argument(s, "[strpos] \"&\" expected");
  double pos = 0.0;
  if (!s.str_second.empty() && !b.empty()) {
    auto at = b.find(s.str_second);
    if (at != std::string::npos) pos = static_cast<double>(at + 1);
  }
  gettoken(s);
  return pos;
}

// An operand: the operand text in front of the current token, which stays current.
double operand(InterpreterState& s) {
  if (!s.token_text.empty()) return operand_value(s, s.token_text);
  if (s.syntax_level != 0 && s.token_kind != K::Plus && s.token_kind != K::Minus)
    reporterror(s, "[expression] NUMBER or IDENT expected");
  return 0.0;
}

// "not" { "not" } factor — a run of them in one loop, however long: an odd count negates
// (true when the factor is 0), an even count tests the factor for being not 0.
double negation(InterpreterState& s) {
  bool odd = false;
  do {
    odd = !odd;
    gettoken(s);
  } while (s.token_kind == K::Not);
  const bool zero = factor(s) == 0.0;
  return truth(odd ? zero : !zero);
}

// factor: "not" factor | "(" expression ")" | rnd | strlen | strcmp | strchar | strpos | operand
double factor(InterpreterState& s) {
  switch (s.token_kind) {
    case K::Not:
      return negation(s);
    case K::LParen: {
      gettoken(s);
      double v = expression(s);
      if (s.token_kind != K::RParen) reporterror(s, "[expression] \")\" expected");
      gettoken(s);
      return v;
    }
    case K::Rnd: {
      double v = draw_rnd(s);
      gettoken(s);
      return v;
    }
    case K::Strlen:
      return builtin_strlen(s);
    case K::Strcmp:
      return builtin_strcmp(s);
    case K::Strchar:
      return builtin_strchar(s);
    case K::Strpos:
      return builtin_strpos(s);
    default:
      return operand(s);
  }
}

// conjunction: relation { "and" relation }
double conjunction(InterpreterState& s) {
  double a = relation(s);
  while (s.token_kind == K::And) {
    gettoken(s);
    double b = relation(s);
    a = truth(a > 0.0 && b > 0.0);
  }
  return a;
}

}  // namespace

double draw_rnd(InterpreterState& s) {
  std::uint64_t draw = (static_cast<std::uint64_t>(s.random()) * 1000u) >> 32;
  return static_cast<double>(draw) / 1000.0;
}

// expression: conjunction { "or" conjunction }. The grammar nests each "or" in a new
// expression; a loop gives the same value (left to right, nothing skipped) at one level.
double expression(InterpreterState& s) {
  NestingGuard level(s, s.expression_depth, "[expression] STACK OUT");
  double a = conjunction(s);
  while (s.token_kind == K::Or) {
    gettoken(s);
    double b = conjunction(s);
    a = truth(a > 0.0 || b > 0.0);
  }
  return a;
}

}  // namespace tindel
