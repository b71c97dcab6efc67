#include "author/lint.h"

#include <algorithm>
#include <set>

#include "author/check_run.h"
#include "author/index_builder.h"
#include "author/lint_warnings.h"

namespace tindel::author {

namespace {

Problem problem_of(const SeenDiagnostic& d) {
  return Problem{d.place.line, std::max(1, d.place.column), d.severity, to_utf8(d.message)};
}

// The check's own errors and warnings. Every `end` checks the common location again: its
// absence is told once, at the first `end`.
void add_check_diagnostics(const CheckRecord& record, std::vector<Problem>& out) {
  std::set<std::string> told_at_end;
  for (const SeenDiagnostic& d : record.diagnostics) {
    const SeenStatement* st = record.statements.empty() ? nullptr : &record.statements[d.statement];
    if (d.severity == Severity::error && st && st->kind == TokenKind::End &&
        !told_at_end.insert(d.message).second)
      continue;
    out.push_back(problem_of(d));
  }
}

bool by_position(const Problem& a, const Problem& b) {
  if (a.line != b.line) return a.line < b.line;
  if (a.column != b.column) return a.column < b.column;
  return a.severity == Severity::error && b.severity == Severity::warning;
}

}  // namespace

std::vector<Problem> lint_quest(std::string_view quest_bytes, const LintOptions& options,
                                const std::string& quest_dir) {
  PreparedQuest quest = prepare_quest(quest_bytes, options);
  CheckRecord record = run_check(quest);
  QuestIndex index = index_from_record(record);
  std::vector<Problem> problems;
  add_check_diagnostics(record, problems);
  QuestFacts facts{record, index, quest.bytes, quest_dir};
  warn_duplicate_labels(facts, problems);
  warn_unreachable_locations(facts, problems);
  warn_fall_through(facts, problems);
  warn_unassigned_reads(facts, problems);
  warn_missing_media(facts, problems);
  warn_lone_line_feeds(facts, problems);
  std::stable_sort(problems.begin(), problems.end(), by_position);
  return problems;
}

}  // namespace tindel::author
