// Hover: where a variable is assigned; a label's first line of text and how often it is named.
#include "author/lsp/features.h"
#include "author/lsp/protocol.h"
#include "author/lsp/symbol_lookup.h"
#include "author/lsp/symbol_names.h"

namespace tindel::author::lsp {

namespace {

constexpr std::size_t kLinesShown = 12;

std::string line_list(const std::vector<Place>& places) {
  std::string text;
  for (std::size_t i = 0; i < places.size() && i < kLinesShown; ++i) {
    if (i > 0) text += ", ";
    text += std::to_string(places[i].line);
  }
  if (places.size() > kLinesShown)
    text += " and " + std::to_string(places.size() - kLinesShown) + " more";
  return text;
}

std::string count_of(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string variable_hover(const QuestIndex& index, const std::string& key) {
  std::string text = "**" + describe_variable(key) + "**\n\n";
  auto assigned = index.assignments.find(key);
  if (assigned == index.assignments.end() || assigned->second.empty()) {
    return text + "never assigned in this quest: it reads 0 (or empty) unless set by `system`";
  }
  const std::vector<Place>& places = assigned->second;
  return text + "assigned " + count_of(places.size(), "time", "times") + ", on line" +
         (places.size() == 1 ? " " : "s ") + line_list(places);
}

std::string label_hover(const QuestIndex& index, const std::string& label) {
  std::string text = "**:" + label + "**";
  std::vector<Place> definitions = label_definitions(index, label);
  if (definitions.empty()) return text + "\n\nno label line of this name in the quest";
  for (const Location& location : index.locations) {
    if (location.label == label && !location.first_text.empty()) {
      text += "\n\n" + location.first_text;
      break;
    }
  }
  std::size_t uses = label_uses(index, label).size();
  text += "\n\nreached from " + count_of(uses, "place", "places");
  if (definitions.size() > 1) text += "; defined " + std::to_string(definitions.size()) + " times";
  return text;
}

}  // namespace

json hover(const Document& document, const json& params) {
  std::optional<Symbol> symbol = symbol_of_request(document, params);
  if (!symbol) return nullptr;
  std::string text = symbol->kind == SymbolKind::label
                         ? label_hover(document.index(), symbol->name)
                         : variable_hover(document.index(), symbol->name);
  return {{"contents", {{"kind", "markdown"}, {"value", text}}},
          {"range", place_range(document.positions, name_place(document.positions, symbol->place,
                                                               spelled_name(*symbol)))}};
}

}  // namespace tindel::author::lsp
