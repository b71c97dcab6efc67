#pragma once
// What the quest index says stands at a place of the quest: a label (named by a label line or
// by a link) or a variable (assigned or read), and every place that names the same one.
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "author/lsp/document.h"

namespace tindel::author::lsp {

enum class SymbolKind { label, variable };

// Where a name is written, in characters from the index's place: a head that stays (the ":"
// of a label line, "%" or ";", an item test's count, "inv_") and then the name itself, whose
// blanks the scanner drops ("Go Home" for the label gohome).
struct NameSpan {
  int head = 0;
  int name = 0;
};

struct Symbol {
  SymbolKind kind = SymbolKind::label;
  std::string name;  // the label, or the variable's key ("gold", "%name", ";key")
  Place place;       // the index's place where it was found
  NameSpan span;
};

// The span of `name` (a label, or a key's bare name) as written at a place; nullopt when the
// text there does not spell it (the interpreter's own reads of its colour variables, say).
std::optional<NameSpan> name_span(const PositionMap& positions, const Place& place,
                                  std::string_view name);

// The name as the quest spells it: the label, or the variable's key without its kind sign.
std::string_view spelled_name(const Symbol& symbol);

// The symbol at the position of a request's parameters ("position" member).
std::optional<Symbol> symbol_of_request(const Document& document, const nlohmann::json& params);

// The label or variable named at a position; the position may also stand just after the name.
std::optional<Symbol> symbol_at(const Document& document, QuestPosition position);

std::vector<Place> label_definitions(const QuestIndex& index, const std::string& label);
std::vector<Place> label_uses(const QuestIndex& index, const std::string& label);
// Assignments, then reads, each in the index's order.
std::vector<Place> variable_places(const QuestIndex& index, const std::string& key);

// Every place naming the symbol: for a label its uses, and its label lines when asked.
std::vector<Place> symbol_places(const QuestIndex& index, const Symbol& symbol,
                                 bool with_definitions);

// The part of a place that spells the name (the whole place when the text does not).
Place name_place(const PositionMap& positions, const Place& place, std::string_view name);

}  // namespace tindel::author::lsp
