#include "author/lsp/symbol_lookup.h"

#include "author/lsp/protocol.h"
#include "author/lsp/symbol_names.h"

namespace tindel::author::lsp {

namespace {

// The characters of a place's line from the place on, one UTF-8 character each.
std::vector<std::string_view> characters_from(const PositionMap& positions, const Place& place,
                                              int limit) {
  const std::string& text = positions.text();
  std::size_t at = positions.offset_of(positions.to_editor({place.line, place.column}));
  std::size_t end = positions.offset_of(positions.to_editor({place.line, place.column}, limit));
  std::vector<std::string_view> characters;
  while (at < end) {
    std::size_t next = advance_characters(std::string_view(text.data(), end), at, 1);
    characters.push_back(std::string_view(text).substr(at, next - at));
    at = next;
  }
  return characters;
}

bool blank(std::string_view c) {
  return c == " " || c == "\t";
}

bool head_character(std::string_view c) {
  return c.size() == 1 && std::string_view(":%;$0123456789.").find(c[0]) != std::string_view::npos;
}

// How many characters of an "inv_" stand at `from` (0 when none).
int inv_prefix(const std::vector<std::string_view>& chars, std::size_t from) {
  std::string word;
  for (std::size_t i = from; i < chars.size() && i < from + 4; ++i)
    word += fold_name(chars[i]);
  return word == "inv_" ? 4 : 0;
}

bool covers(const Place& place, const NameSpan& span, QuestPosition position) {
  int start = place.column + span.head;
  return place.line == position.line && position.column >= start &&
         position.column <= start + span.name;
}

// Rough first test, so only places on the position's line are spelled out.
bool near(const Place& place, QuestPosition position) {
  return place.line == position.line && position.column >= place.column;
}

std::optional<Symbol> found(SymbolKind kind, const std::string& name, const Place& place,
                            const PositionMap& positions, QuestPosition position) {
  if (!near(place, position)) return std::nullopt;
  Symbol symbol{kind, name, place, {}};
  std::optional<NameSpan> span = name_span(positions, place, spelled_name(symbol));
  if (!span || !covers(place, *span, position)) return std::nullopt;
  symbol.span = *span;
  return symbol;
}

}  // namespace

std::string_view spelled_name(const Symbol& symbol) {
  return symbol.kind == SymbolKind::label ? std::string_view(symbol.name) : bare_name(symbol.name);
}

std::optional<Symbol> symbol_of_request(const Document& document, const nlohmann::json& params) {
  EditorPosition at = position_from_json(member(params, "position"));
  return symbol_at(document, document.positions.to_quest(at));
}

std::optional<NameSpan> name_span(const PositionMap& positions, const Place& place,
                                  std::string_view name) {
  std::string wanted = fold_name(name);
  // Room for the head and for blanks inside the name, which the index's length leaves out.
  int limit = place.length + 8 + 2 * static_cast<int>(name.size());
  std::vector<std::string_view> chars = characters_from(positions, place, limit);
  std::size_t i = 0;
  while (i < chars.size() && (blank(chars[i]) || head_character(chars[i])))
    ++i;
  if (wanted.substr(0, 4) != "inv_") i += static_cast<std::size_t>(inv_prefix(chars, i));
  std::size_t head = i;
  std::string spelled;
  while (i < chars.size() && spelled.size() < wanted.size()) {
    if (!blank(chars[i])) spelled += fold_name(chars[i]);
    ++i;
  }
  if (spelled != wanted || wanted.empty()) return std::nullopt;
  return NameSpan{static_cast<int>(head), static_cast<int>(i - head)};
}

std::optional<Symbol> symbol_at(const Document& document, QuestPosition position) {
  const QuestIndex& index = document.index();
  const PositionMap& positions = document.positions;
  for (const Location& location : index.locations) {
    if (auto s = found(SymbolKind::label, location.label, location.place, positions, position))
      return s;
  }
  for (const Link& link : index.links) {
    if (link.kind == LinkKind::common) {
      // `common = n` names its label only through the number: the statement stands for it.
      NameSpan whole{0, link.place.length};
      if (covers(link.place, whole, position)) {
        return Symbol{SymbolKind::label, link.label, link.place, whole};
      }
      continue;
    }
    if (auto s = found(SymbolKind::label, link.label, link.place, positions, position)) return s;
  }
  for (const auto* table : {&index.assignments, &index.reads}) {
    for (const auto& [key, places] : *table) {
      for (const Place& place : places) {
        if (auto s = found(SymbolKind::variable, key, place, positions, position)) return s;
      }
    }
  }
  return std::nullopt;
}

Place name_place(const PositionMap& positions, const Place& place, std::string_view name) {
  std::optional<NameSpan> span = name_span(positions, place, name);
  if (!span) return place;
  return Place{place.line, place.column + span->head, span->name};
}

std::vector<Place> label_definitions(const QuestIndex& index, const std::string& label) {
  std::vector<Place> places;
  for (const Location& location : index.locations) {
    if (location.label == label) places.push_back(location.place);
  }
  return places;
}

std::vector<Place> label_uses(const QuestIndex& index, const std::string& label) {
  std::vector<Place> places;
  for (const Link& link : index.links) {
    if (link.label == label) places.push_back(link.place);
  }
  return places;
}

std::vector<Place> variable_places(const QuestIndex& index, const std::string& key) {
  std::vector<Place> places;
  for (const auto* table : {&index.assignments, &index.reads}) {
    auto it = table->find(key);
    if (it != table->end()) places.insert(places.end(), it->second.begin(), it->second.end());
  }
  return places;
}

std::vector<Place> symbol_places(const QuestIndex& index, const Symbol& symbol,
                                 bool with_definitions) {
  if (symbol.kind == SymbolKind::variable) return variable_places(index, symbol.name);
  std::vector<Place> places;
  if (with_definitions) places = label_definitions(index, symbol.name);
  std::vector<Place> uses = label_uses(index, symbol.name);
  places.insert(places.end(), uses.begin(), uses.end());
  return places;
}

}  // namespace tindel::author::lsp
