#pragma once
// One run of the interpreter's own check of syntax and labels (the check of mode 3) over a
// quest held in memory, watched: every error is recorded and the check goes on from the start
// of the next line, and every statement, token and variable lookup is kept for the index and
// the warnings.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "UTypes/diagnostics/check_observer.h"
#include "UTypes/state/token_kind.h"
#include "author/lint.h"

namespace tindel::author {

struct SeenToken {
  TokenKind kind = TokenKind::Unknown;
  std::string text;  // operand text, CP866
  SourcePlace start;
};

struct SeenStatement {
  TokenKind kind = TokenKind::Unknown;  // the current token when the statement began
  std::string text;                     // its operand text (an assignment's name)
  SourcePlace start;
  std::vector<SeenToken> tokens;  // the first tokens it read (at most kKeptTokens)
  std::size_t token_count = 0;    // all the tokens it read
  std::string result;             // str_result afterwards: a text, a sound's name
  std::string caption;            // a button's caption
  std::string common_after;       // the common location's label afterwards
  bool failed = false;
};
constexpr std::size_t kKeptTokens = 4;

struct SeenLookup {
  std::string key;  // "$gold", ";key", "%name"
  SourcePlace place;
  int length = 0;
  std::size_t statement = 0;
};

struct SeenDiagnostic {
  SourcePlace place;
  Severity severity = Severity::error;
  std::string message;  // CP866
  std::size_t statement = 0;
};

struct LabelLine {
  std::string name;   // lower-cased, without blanks, CP866
  SourcePlace place;  // the ":"
  int length = 0;     // from the ":" to the end of the name
};

struct CheckRecord {
  std::vector<SeenStatement> statements;
  std::vector<SeenLookup> lookups;
  std::vector<SeenDiagnostic> diagnostics;
  std::vector<LabelLine> labels;
  int line_count = 1;
};

// The quest's bytes as the interpreter is to read them, with the decoding flags to use:
// a UTF-8 quest becomes CP866 first, one byte per character.
struct PreparedQuest {
  std::string bytes;
  bool codepage_w = true;
  bool qs1 = false;
};
PreparedQuest prepare_quest(std::string_view bytes, const LintOptions& options);

CheckRecord run_check(const PreparedQuest& quest);

// Offsets of the first byte of each line as the scanner counts lines (after each CR LF).
std::vector<std::size_t> scanner_line_starts(std::string_view bytes);

// A CP866 text as UTF-8.
std::string to_utf8(std::string_view cp866);

}  // namespace tindel::author
