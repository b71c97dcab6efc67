// A button keeps the first 63 characters of its label's name (kNameMax), while a label line
// keeps the whole name: a longer name written in a button leads nowhere, or to another label.
#include <unordered_set>

#include "UTypes/state/interpreter_state.h"
#include "author/lint/lint_warnings.h"

namespace tindel::author {

namespace {

std::size_t utf8_length(std::string_view text) {
  std::size_t n = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

bool longer_than_a_button_keeps(std::string_view utf8_name) {
  return utf8_length(utf8_name) > static_cast<std::size_t>(kNameMax);
}

}  // namespace

std::string cut_button_label_reason(const CheckRecord& record, const SeenDiagnostic& d) {
  if (d.severity != Severity::error || d.statement >= record.statements.size()) return {};
  const SeenStatement& st = record.statements[d.statement];
  auto tokens = record.tokens_of(st);
  if (st.kind != TokenKind::Btn || tokens.empty()) return {};
  if (tokens[0].text.size() <= static_cast<std::size_t>(kNameMax)) return {};
  return ": a button keeps only the first " + std::to_string(kNameMax) +
         " characters of a label's name, and this one is longer";
}

void warn_labels_too_long_for_buttons(const QuestFacts& facts, std::vector<Problem>& out) {
  std::unordered_set<std::string_view> cut;
  for (const Link& link : facts.index.links)
    if (link.kind == LinkKind::button && longer_than_a_button_keeps(link.label))
      cut.insert(link.label);
  for (const Location& loc : facts.index.locations) {
    if (!cut.contains(loc.label)) continue;
    out.push_back(Problem{loc.place.line, loc.place.column, Severity::warning,
                          "label '" + loc.label + "' is longer than " + std::to_string(kNameMax) +
                              " characters: a button keeps only the first " +
                              std::to_string(kNameMax) + ", so no button reaches it (goto and " +
                              "proc do)"});
  }
}

}  // namespace tindel::author
