#include "UTypes/eval/string_expr.h"

#include <algorithm>
#include <string>

#include "UTypes/console/console_ops.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/eval/expression.h"
#include "UTypes/eval/numeric.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/source/scanner.h"
#include "UTypes/state/nesting_guard.h"

namespace tindel {

namespace {

using K = TokenKind;

constexpr std::size_t kLargeText = 254;

void expect_dollar(InterpreterState& s) {
  if (s.token_kind != K::Dollar) reporterror(s, "[string] \"$\" expected");
}

struct EditArguments {
  std::int32_t a = 0;
  std::int32_t b = 0;
  std::string text;
};

// a "," b "," text "&" — the arguments of strcopy and strset
EditArguments edit_arguments(InterpreterState& s, const char* comma_message,
                             const char* amp_message) {
  EditArguments args;
  gettoken(s);
  args.a = to_int32(expression(s));
  if (s.token_kind != K::Comma) reporterror(s, comma_message);
  gettoken(s);
  args.b = to_int32(expression(s));
  if (s.token_kind != K::Comma) reporterror(s, comma_message);
  string(s);
  if (s.cur_char != '&') reporterror(s, amp_message);
  args.text = s.str_result;
  return args;
}

// #%strcopy a, b, text&$ — b characters of text from position a
void strcopy(InterpreterState& s, std::string& out) {
  EditArguments args = edit_arguments(s, "[strcopy] \",\" expected", "[strcopy] \"&\" expected");
  std::int64_t start = std::max<std::int32_t>(args.a, 1);
  auto size = static_cast<std::int64_t>(args.text.size());
  if (start <= size && args.b >= 0)
    out += args.text.substr(
        static_cast<std::size_t>(start - 1),
        static_cast<std::size_t>(std::min<std::int64_t>(args.b, size - start + 1)));
  getchar(s);
  gettoken(s);
  expect_dollar(s);
}

// #%strset a, b, text&$ — text with its a-th character set to code b
void strset(InterpreterState& s, std::string& out) {
  EditArguments args = edit_arguments(s, "[strset] \",\" expected", "[strset] \"&\" expected");
  getchar(s);
  gettoken(s);
  if (args.a >= 1 && args.a <= 254) {
    auto a = static_cast<std::size_t>(args.a);
    if (args.text.size() < a) args.text.resize(a, ' ');
    args.text[a - 1] = static_cast<char>(low_byte(args.b));
  }
  out += args.text;
  expect_dollar(s);
}

// #%name$ or one of the editing functions
void variable_substitution(InterpreterState& s, std::string& out) {
  getchar(s);
  gettoken(s);
  if (s.token_kind == K::Strcopy) return strcopy(s, out);
  if (s.token_kind == K::Strset) return strset(s, out);
  out += string_variable_text(s, s.token_text);
  expect_dollar(s);
}

// After "#": the substitution chosen by the next character.
void substitution(InterpreterState& s, std::string& out) {
  switch (s.cur_char) {
    case '$':
      getchar(s);
      out += ' ';
      return;
    case '/':
      getchar(s);
      gettoken(s);
      expect_dollar(s);
      out += "\r\n";
      return;
    case '#': {
      getchar(s);
      gettoken(s);
      double v = expression(s);
      expect_dollar(s);
      out += static_cast<char>(low_byte(v));
      return;
    }
    case '%':
      return variable_substitution(s, out);
    default: {
      gettoken(s);
      double v = expression(s);
      expect_dollar(s);
      out += inttostr(to_int32(v));
      return;
    }
  }
}

}  // namespace

void string(InterpreterState& s) {
  NestingGuard level(s, s.text_depth, "[string] STACK OUT");
  std::string out;
  if (s.cur_char <= 32) getchar(s);
  while (s.cur_char != '&' && s.cur_char < kEndOfFile) {
    if (s.cur_char != '#') {
      read_text_run(s, out);
      continue;
    }
    getchar(s);
    substitution(s, out);
  }
  if (s.syntax_level != 0 && out.size() >= kLargeText) warning(s, ",  TOO LARGE TEXT");
  s.str_result = std::move(out);
}

}  // namespace tindel
