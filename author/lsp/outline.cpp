// The quest's locations as the editor's outline.
#include "author/lsp/features.h"
#include "author/lsp/protocol.h"

namespace tindel::author::lsp {

namespace {

constexpr int kSymbolKindFunction = 12;  // a location is entered and called like a function

json location_symbol(const Document& document, const Location& location) {
  const PositionMap& positions = document.positions;
  int last_line = std::max(location.end_line, location.place.line);
  EditorPosition start = positions.to_editor({location.place.line, 1});
  EditorPosition end = positions.to_editor({last_line, 1}, 1 << 30);  // the end of that line
  json symbol = {{"name", location.label},
                 {"kind", kSymbolKindFunction},
                 {"range", range_json(start, end)},
                 {"selectionRange", place_range(positions, location.place)}};
  if (!location.first_text.empty()) symbol["detail"] = location.first_text;
  return symbol;
}

}  // namespace

json document_symbols(const Document& document) {
  json list = json::array();
  for (const Location& location : document.index().locations) {
    if (location.label.empty()) continue;  // the protocol refuses symbols without a name
    list.push_back(location_symbol(document, location));
  }
  return list;
}

}  // namespace tindel::author::lsp
