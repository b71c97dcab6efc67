#include "support/eval_probe.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "UTypes/console/console_ops.h"
#include "UTypes/eval/expression.h"
#include "UTypes/eval/string_expr.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/source/scanner.h"
#include "UTypes/statements/parser.h"

namespace tindel::testing {

std::ostream& operator<<(std::ostream& out, const Tok& tok) {
  return out << "{\"" << tok.text << "\", " << default_token_name(tok.kind) << "}";
}

Scanner::Scanner(const std::string& bytes, ScanOptions options) {
  InterpreterState& st = *state_;
  dir_.write("scan.qst", bytes);
  coninit(st, *console_);
  for (int i = 0; i < kTokenKinds; ++i)
    st.token_names[static_cast<std::size_t>(i)] = default_token_name(static_cast<TokenKind>(i));
  st.quest_name = "scan.qst";
  st.codepage_w = options.codepage_w;
  st.qs1_file = options.qs1;
  create_system_variables(st);
  if (!st.quest_file.open(st.quest_name)) throw std::runtime_error("quest not written");
  getchar(st);
}

Tok Scanner::next() {
  gettoken(*state_);
  return {state_->token_text, state_->token_kind};
}

std::vector<Tok> Scanner::all(int limit) {
  std::vector<Tok> out;
  while (limit-- > 0) {
    out.push_back(next());
    if (out.back().kind == TokenKind::Eof) break;
  }
  return out;
}

namespace {

int line_count(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

Probe::Probe(const std::string& setup, const std::string& last_line, int syntax_level)
    : interp_(setup + last_line + "\n", syntax_level) {
  const int last = line_count(setup) + 1;
  const TokenKind first = last_line.starts_with("if") ? TokenKind::If : TokenKind::P;
  InterpreterState& st = s();
  // A keyword that ends its line has already counted that line's end.
  for (int guard = 0; !(st.line_no >= last && st.token_kind == first); ++guard) {
    if (guard > 10000 || st.token_kind == TokenKind::Eof)
      throw std::runtime_error("probe line not reached");
    parser(st);
  }
}

double Probe::expression() {
  gettoken(s());
  return tindel::expression(s());
}

std::string Probe::text() {
  string(s());
  return s().str_result;
}

double eval(const std::string& expr, const std::string& setup) {
  return Probe(setup, "if " + expr + " then").expression();
}

std::string text_of(const std::string& text, const std::string& setup) {
  return Probe(setup, "p " + text).text();
}

std::string error_line(const QuestRun& run) {
  std::istringstream rows(run.screen());
  std::string row, joined;
  bool inside = false;
  while (std::getline(rows, row)) {
    if (!inside && !row.starts_with("Error: ")) continue;
    inside = true;
    joined += row;
    if (row.size() < 80) break;
  }
  return joined;
}

}  // namespace tindel::testing
