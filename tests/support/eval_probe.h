#pragma once
// Helpers for the scanner and evaluator tests: a scanner over raw quest bytes, a probe that
// runs a few set-up statements and then evaluates the last line, and the error line of a run.
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/quest_harness.h"

namespace tindel::testing {

// One token as the scanner hands it out: the operand text and the delimiter after it.
struct Tok {
  std::string text;
  TokenKind kind;
  friend bool operator==(const Tok&, const Tok&) = default;
};
std::ostream& operator<<(std::ostream& out, const Tok& tok);

struct ScanOptions {
  bool codepage_w = true;
  bool qs1 = false;
};

// The scanner over the exact bytes given (no line-end conversion), set up as start-up
// leaves it, with the first character read but no token yet.
class Scanner {
 public:
  explicit Scanner(const std::string& bytes, ScanOptions options = {});
  InterpreterState& s() { return *state_; }
  ScriptedConsole& console() { return *console_; }
  Tok next();
  // Every token up to and including the first <EOF>.
  std::vector<Tok> all(int limit = 1000);

 private:
  TempDir dir_;
  std::unique_ptr<InterpreterState> state_ = std::make_unique<InterpreterState>();
  std::unique_ptr<ScriptedConsole> console_ = std::make_unique<ScriptedConsole>();
};

// Runs the set-up lines of a quest as statements, stopping when the last line's first
// token is current; the last line must begin with `if` (for expressions) or `p` (texts).
class Probe {
 public:
  explicit Probe(const std::string& setup, const std::string& last_line, int syntax_level = 0);
  InterpreterState& s() { return interp_.s(); }
  ScriptedConsole& console() { return interp_.console(); }
  // "if <expr> ...": the value of <expr>; the token after it stays current.
  double expression();
  // "p <text>": str_result after the text is read.
  std::string text();

 private:
  Interp interp_;
};

// The value of a numeric expression after the set-up lines.
double eval(const std::string& expr, const std::string& setup = "");
// A text with substitutions after the set-up lines.
std::string text_of(const std::string& text, const std::string& setup = "");

// The full "Error: ..." text of the report on the screen, its rows joined again where the
// 80 columns wrapped it; empty when the screen shows no report.
std::string error_line(const QuestRun& run);

}  // namespace tindel::testing
