#pragma once
// Every problem of a quest in one run: the errors of the interpreter's own check, which goes
// on after each one from the start of the next line, and warnings of likely mistakes.
#include <string>
#include <string_view>
#include <vector>

namespace tindel::author {

enum class Severity { error, warning };

// line and column count from 1; column counts characters of the line as the quest's code page
// decodes them (one per byte for w and d, one per decoded UTF-8 character for u).
struct Problem {
  int line = 1;
  int column = 1;
  Severity severity = Severity::error;
  std::string message;  // in UTF-8 (converted from CP866 where it quotes quest text)
};

// codepage: 'w' (Windows-1251), 'd' (CP866) or 'u' (UTF-8); qs1: the encoded ".qs1" form.
struct LintOptions {
  char codepage = 'w';
  bool qs1 = false;
};

// Every problem of one quest, sorted by position. Never writes a file, never waits.
// quest_dir is where media files named by the quest are looked for.
std::vector<Problem> lint_quest(std::string_view quest_bytes, const LintOptions& options,
                                const std::string& quest_dir = ".");

}  // namespace tindel::author
