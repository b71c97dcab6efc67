#include "author/lint/lint.h"

#include <algorithm>
#include <set>

#include "author/check_run.h"
#include "author/index_builder.h"
#include "author/lint/lint_warnings.h"

namespace tindel::author {

namespace {

// The check's warnings are terse; what each means follows its own text.
std::string explained(const std::string& warning) {
  static const std::pair<const char*, const char*> meanings[] = {
      {"TOO LARGE TEXT", ": a text of 254 characters or more"},
      {"TOO LARGE BLOCK", ": the text and the buttons need more than 23 lines"},
      {"TOO LARGE MENU LIST", ": a 26th button is never offered"},
      {"<ELSE>", ": an else that does not begin its line is passed over with the rest of its line"},
      {"<PROC>", ": proc is not the last statement of its line"}};
  for (auto [text, meaning] : meanings)
    if (warning.starts_with(text)) return warning + meaning;
  return warning;
}

Problem problem_of(const SeenDiagnostic& d) {
  std::string message = to_utf8(d.message);
  if (d.severity == Severity::warning) message = explained(message);
  return Problem{d.place.line, std::max(1, d.place.column), d.severity, message};
}

// The label line at or before `line`, as an index into the labels (-1 before the first).
int location_of(const CheckRecord& record, int line) {
  auto after = std::upper_bound(record.labels.begin(), record.labels.end(), line,
                                [](int l, const LabelLine& label) { return l < label.place.line; });
  return static_cast<int>(after - record.labels.begin()) - 1;
}

// The check's own errors and warnings. Every `end` checks the common location again: its
// absence is told once, at the first `end`. A warning that a location draws again and again
// (each button past a full screen is TOO LARGE BLOCK) is told at its first place.
void add_check_diagnostics(const CheckRecord& record, std::vector<Problem>& out) {
  std::set<std::string> told_at_end;
  std::set<std::pair<int, std::string>> told_in_location;
  for (const SeenDiagnostic& d : record.diagnostics) {
    const SeenStatement* st = record.statements.empty() ? nullptr : &record.statements[d.statement];
    bool error = d.severity == Severity::error;
    if (error && st && st->kind == TokenKind::End && !told_at_end.insert(d.message).second)
      continue;
    if (!error && !told_in_location.insert({location_of(record, d.place.line), d.message}).second)
      continue;
    out.push_back(problem_of(d));
    out.back().message += cut_button_label_reason(record, d);
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
  QuestFacts facts = quest_facts(record, index, quest.bytes(), quest_dir);
  warn_duplicate_labels(facts, problems);
  warn_unreachable_locations(facts, problems);
  warn_fall_through(facts, problems);
  warn_common_off_end(facts, problems);
  warn_unassigned_reads(facts, problems);
  warn_missing_media(facts, problems);
  warn_lone_line_feeds(facts, problems);
  warn_labels_too_long_for_buttons(facts, problems);
  std::stable_sort(problems.begin(), problems.end(), by_position);
  return problems;
}

}  // namespace tindel::author
