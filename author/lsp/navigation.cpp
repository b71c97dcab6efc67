// Go to definition and find references.
#include "author/lsp/features.h"
#include "author/lsp/protocol.h"
#include "author/lsp/symbol_lookup.h"

namespace tindel::author::lsp {

namespace {

json locations_json(const Document& document, const Symbol& symbol,
                    const std::vector<Place>& places) {
  json list = json::array();
  for (const Place& place : places) {
    Place name = name_place(document.positions, place, spelled_name(symbol));
    list.push_back(location_json(document.uri, document.positions, name));
  }
  return list;
}

}  // namespace

// A label goes to its label line (both, when it is defined twice); a variable to the places
// that assign it.
json definition(const Document& document, const json& params) {
  std::optional<Symbol> symbol = symbol_of_request(document, params);
  if (!symbol) return nullptr;
  if (symbol->kind == SymbolKind::label) {
    return locations_json(document, *symbol, label_definitions(document.index(), symbol->name));
  }
  auto assigned = document.index().assignments.find(symbol->name);
  if (assigned == document.index().assignments.end()) return json::array();
  return locations_json(document, *symbol, assigned->second);
}

json references(const Document& document, const json& params) {
  std::optional<Symbol> symbol = symbol_of_request(document, params);
  if (!symbol) return nullptr;
  bool with_definitions = true;
  auto context = params.find("context");
  if (context != params.end() && context->is_object()) {
    with_definitions = context->value("includeDeclaration", true);
  }
  return locations_json(document, *symbol,
                        symbol_places(document.index(), *symbol, with_definitions));
}

}  // namespace tindel::author::lsp
