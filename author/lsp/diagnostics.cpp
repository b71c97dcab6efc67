// The lint's problems as the editor's diagnostics.
#include <map>

#include "author/lsp/features.h"
#include "author/lsp/protocol.h"

namespace tindel::author::lsp {

namespace {

using PlaceStarts = std::map<std::pair<int, int>, int>;

// Where each name the index knows begins, and its length: a problem that begins at a name
// underlines it, any other one character.
PlaceStarts place_starts(const QuestIndex& index) {
  PlaceStarts starts;
  auto add = [&](const Place& place) {
    if (place.length > 0) starts.emplace(std::pair{place.line, place.column}, place.length);
  };
  for (const Link& link : index.links)
    add(link.place);
  for (const Location& location : index.locations)
    add(location.place);
  for (const auto* table : {&index.reads, &index.assignments}) {
    for (const auto& [key, places] : *table) {
      for (const Place& place : places)
        add(place);
    }
  }
  return starts;
}

json diagnostic_json(const Document& document, const PlaceStarts& starts, const Problem& problem) {
  QuestPosition start{problem.line, problem.column};
  auto name = starts.find({problem.line, problem.column});
  int length = name == starts.end() ? 1 : name->second;
  return {{"range", range_json(document.positions.to_editor(start),
                               document.positions.to_editor(start, length))},
          {"severity", problem.severity == Severity::error ? 1 : 2},
          {"source", "tindel"},
          {"message", problem.message}};
}

}  // namespace

json diagnostics_json(const Document& document) {
  json list = json::array();
  if (document.problems.empty()) return list;
  PlaceStarts starts = place_starts(document.index);
  for (const Problem& problem : document.problems) {
    list.push_back(diagnostic_json(document, starts, problem));
  }
  return list;
}

}  // namespace tindel::author::lsp
