// The lint's problems as the editor's diagnostics.
#include "author/lsp/features.h"
#include "author/lsp/protocol.h"

namespace tindel::author::lsp {

namespace {

bool word_byte(char c) {
  auto b = static_cast<unsigned char>(c);
  return (b >= '0' && b <= '9') || ((b | 0x20) >= 'a' && (b | 0x20) <= 'z') || c == '_' ||
         b >= 0x80;
}

// How many characters a problem underlines: the word that begins at its place (a name, a
// keyword), else one character. The quest index is not needed for this, so diagnostics wait
// only for the lint.
int underlined(const PositionMap& positions, QuestPosition start) {
  const std::string& text = positions.text();
  std::size_t from = positions.offset_of(positions.to_editor(start));
  std::size_t to = from;
  while (to < text.size() && word_byte(text[to]))
    ++to;
  int characters = 0;
  for (std::size_t i = from; i < to; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++characters;
  }
  return characters > 0 ? characters : 1;
}

json diagnostic_json(const PositionMap& positions, const Problem& problem) {
  QuestPosition start{problem.line, problem.column};
  return {{"range", range_json(positions.to_editor(start),
                               positions.to_editor(start, underlined(positions, start)))},
          {"severity", problem.severity == Severity::error ? 1 : 2},
          {"source", "tindel"},
          {"message", problem.message}};
}

}  // namespace

json diagnostics_json(const Document& document) {
  json list = json::array();
  for (const Problem& problem : document.problems) {
    list.push_back(diagnostic_json(document.positions, problem));
  }
  return list;
}

}  // namespace tindel::author::lsp
