// Rename of a label or a variable at every place the quest index knows it.
#include <cctype>
#include <set>

#include "UTypes/charset/cp866.h"
#include "UTypes/source/keywords.h"
#include "author/lsp/features.h"
#include "author/lsp/protocol.h"
#include "author/lsp/quest_encoding.h"
#include "author/lsp/rpc_error.h"
#include "author/lsp/symbol_lookup.h"
#include "author/lsp/symbol_names.h"

namespace tindel::author::lsp {

namespace {

// A character that the scanner takes into a word, and that the quest's code page can hold.
bool word_character(char32_t code_point, char codepage, bool first) {
  if (code_point < 0x80) {
    auto c = static_cast<unsigned char>(code_point);
    return std::isalpha(c) || c == '_' || (!first && std::isdigit(c));
  }
  std::optional<std::uint8_t> byte = cp866_from_unicode(code_point);
  if (!byte || *byte < 0x80 || *byte > 0xF1) return false;
  return codepage != 'w' || unicode_to_cp1251(code_point) != '?';
}

[[noreturn]] void refuse(const std::string& name, const std::string& why) {
  throw RpcError(error_code::request_failed, "cannot rename to \"" + name + "\": " + why);
}

void check_new_name(const std::string& name, char codepage) {
  if (name.empty()) refuse(name, "the name is empty");
  std::string_view rest = name;
  for (bool first = true; !rest.empty(); first = false) {
    Utf8Step step = decode_utf8(rest);
    if (step.status != Utf8Step::Status::kChar ||
        !word_character(step.code_point, codepage, first)) {
      refuse(name, "a name holds letters, digits and _ only, and starts with a letter");
    }
    rest.remove_prefix(step.length);
  }
  std::string folded = fold_name(name);
  if (keyword_kind(folded) != TokenKind::Ident || folded == "system") refuse(name, "a keyword");
}

// Labels that the quest reaches by a name built at run time: the common location (by its
// default name or through `common = n`) and the item actions found by the "use_" prefix.
void check_label_can_move(const QuestIndex& index, const std::string& label) {
  auto refuse_label = [&](const char* why) {
    throw RpcError(error_code::request_failed, "the label " + label + " cannot be renamed: " + why);
  };
  if (label == "common") refuse_label("it is the common location's default name");
  if (label.rfind("use_", 0) == 0) refuse_label("the inventory menu finds use_ labels by name");
  for (const Link& link : index.links) {
    if (link.label == label && link.kind == LinkKind::common) {
      refuse_label("a `common =` statement builds its name from a number");
    }
  }
}

bool name_taken(const QuestIndex& index, const Symbol& symbol, const std::string& key) {
  if (symbol.kind == SymbolKind::label) {
    return !label_definitions(index, key).empty() || !label_uses(index, key).empty();
  }
  return index.assignments.count(key) > 0 || index.reads.count(key) > 0;
}

std::string new_key(const Symbol& symbol, const std::string& folded_name) {
  if (symbol.kind == SymbolKind::label) return folded_name;
  std::size_t sign = symbol.name.size() - bare_name(symbol.name).size();
  return symbol.name.substr(0, sign) + folded_name;
}

}  // namespace

json prepare_rename(const Document& document, const json& params) {
  std::optional<Symbol> symbol = symbol_of_request(document, params);
  if (!symbol) return nullptr;
  Place name = name_place(document.positions, symbol->place, spelled_name(*symbol));
  return {{"range", place_range(document.positions, name)},
          {"placeholder", std::string(spelled_name(*symbol))}};
}

json rename(const Document& document, const json& params) {
  std::optional<Symbol> symbol = symbol_of_request(document, params);
  if (!symbol) throw RpcError(error_code::request_failed, "no label or variable here to rename");
  std::string name = string_member(params, "newName");
  check_new_name(name, document.codepage);
  if (symbol->kind == SymbolKind::label) check_label_can_move(document.index(), symbol->name);
  std::string key = new_key(*symbol, fold_name(name));
  if (key != symbol->name && name_taken(document.index(), *symbol, key)) {
    refuse(name, "the quest already uses that name");
  }
  json edits = json::array();
  std::set<std::pair<int, int>> done;  // a place listed twice must not give overlapping edits
  for (const Place& place : symbol_places(document.index(), *symbol, true)) {
    std::optional<NameSpan> span = name_span(document.positions, place, spelled_name(*symbol));
    if (!span || !done.insert({place.line, place.column}).second) continue;
    Place written{place.line, place.column + span->head, span->name};
    edits.push_back({{"range", place_range(document.positions, written)}, {"newText", name}});
  }
  return {{"changes", {{document.uri, edits}}}};
}

}  // namespace tindel::author::lsp
