// Completion: labels where a label goes, variable and item names in expressions, keywords
// where a statement starts. The place is judged from the statement's text before the cursor:
// its first word and whether a substitution is open, nothing more.
#include <cctype>
#include <set>

#include "UTypes/state/token_kind.h"
#include "author/lsp/features.h"
#include "author/lsp/protocol.h"
#include "author/lsp/symbol_names.h"

namespace tindel::author::lsp {

namespace {

enum class Want { nothing, labels, statement, expression, items, text_variables };

// The completion item kinds of the protocol that fit our names.
constexpr int kItemVariable = 6;
constexpr int kItemKeyword = 14;
constexpr int kItemReference = 18;
constexpr int kItemValue = 12;

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool word_byte(char c) {
  auto b = static_cast<unsigned char>(c);
  return std::isalnum(b) || c == '_' || b >= 0x80;
}

// The first word of a statement and what follows it.
std::pair<std::string, std::string_view> first_word(std::string_view statement) {
  std::size_t start = statement.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  std::size_t end = start;
  while (end < statement.size() && word_byte(statement[end]))
    ++end;
  return {lower(statement.substr(start, end - start)), statement.substr(end)};
}

bool has_blank_after_word(std::string_view rest) {
  return !rest.empty();
}

// Whether the text ends inside "#…" with no "$" yet.
bool inside_substitution(std::string_view text) {
  std::size_t hash = text.rfind('#');
  return hash != std::string_view::npos && text.find('$', hash) == std::string_view::npos;
}

Want statement_want(std::string_view statement);

// After "if": an expression until "then", then the statement that follows it.
Want condition_want(std::string_view rest) {
  std::string lowered = lower(rest);
  for (std::size_t at = lowered.find("then"); at != std::string::npos;
       at = lowered.find("then", at + 1)) {
    bool starts = at == 0 || !word_byte(lowered[at - 1]);
    bool ends = at + 4 >= lowered.size() || !word_byte(lowered[at + 4]);
    if (starts && ends) return statement_want(rest.substr(at + 4));
  }
  return Want::expression;
}

Want statement_want(std::string_view statement) {
  auto [word, rest] = first_word(statement);
  if (word.empty() || !has_blank_after_word(rest)) return Want::statement;
  if (word == "goto" || word == "proc" || word == "save") return Want::labels;
  if (word == "btn") return rest.find(',') == std::string_view::npos ? Want::labels : Want::nothing;
  if (word == "if") return condition_want(rest);
  if (word == "else") return statement_want(rest);
  if (word == "p" || word == "pln" || word == "play") return Want::nothing;
  if (word == "inv" || word == "invkill") return Want::items;
  if (word == "instr")
    return rest.find('=') == std::string_view::npos ? Want::text_variables : Want::nothing;
  return Want::expression;  // common, music, pause, input, an assignment's right side, …
}

// What the cursor's place wants, from the editor's line up to the cursor.
Want wanted_at(std::string_view before) {
  std::size_t start = before.find_first_not_of(" \t");
  if (start != std::string_view::npos && (before[start] == ';' || before[start] == ':')) {
    return Want::nothing;  // a comment, or a label line
  }
  if (inside_substitution(before)) {
    std::size_t hash = before.rfind('#');
    return before.substr(hash + 1).find('%') != std::string_view::npos ? Want::text_variables
                                                                       : Want::expression;
  }
  std::size_t amp = before.rfind('&');
  return statement_want(amp == std::string_view::npos ? before : before.substr(amp + 1));
}

json item(const std::string& label, int kind, const std::string& detail) {
  return {{"label", label}, {"kind", kind}, {"detail", detail}};
}

void add_keywords(json& items, TokenKind first, TokenKind last) {
  for (int k = static_cast<int>(first); k <= static_cast<int>(last); ++k) {
    auto kind = static_cast<TokenKind>(k);
    if (first == TokenKind::If && (kind == TokenKind::Then || kind == TokenKind::Rnd)) {
      continue;  // among the statement keywords, these two never begin a statement
    }
    items.push_back(item(std::string(default_token_name(kind)), kItemKeyword, "keyword"));
  }
}

void add_labels(json& items, const QuestIndex& index) {
  std::set<std::string> seen;
  for (const Location& location : index.locations) {
    if (!location.label.empty() && seen.insert(location.label).second) {
      items.push_back(item(location.label, kItemReference, location.first_text));
    }
  }
}

void add_variables(json& items, const QuestIndex& index, VariableKind kind) {
  std::set<std::string> seen;
  for (const auto* table : {&index.assignments, &index.reads}) {
    for (const auto& [key, places] : *table) {
      if (variable_kind(key) != kind || bare_name(key).empty() || !seen.insert(key).second)
        continue;
      int item_kind = kind == VariableKind::item ? kItemValue : kItemVariable;
      items.push_back(item(std::string(bare_name(key)), item_kind, describe_variable(key)));
    }
  }
}

void add_expression_words(json& items, const QuestIndex& index) {
  add_variables(items, index, VariableKind::number);
  add_variables(items, index, VariableKind::item);
  add_keywords(items, TokenKind::And, TokenKind::Not);
  add_keywords(items, TokenKind::Then, TokenKind::Then);
  add_keywords(items, TokenKind::Rnd, TokenKind::Rnd);
  add_keywords(items, TokenKind::Strlen, TokenKind::Strset);
}

}  // namespace

json completion(const Document& document, const json& params) {
  EditorPosition at = position_from_json(member(params, "position"));
  std::string_view line = document.positions.editor_line(at.line);
  std::size_t cursor =
      document.positions.offset_of(at) - document.positions.offset_of({at.line, 0});
  json items = json::array();
  switch (wanted_at(line.substr(0, cursor))) {
    case Want::labels:
      add_labels(items, document.index());
      break;
    case Want::items:
      add_variables(items, document.index(), VariableKind::item);
      break;
    case Want::text_variables:
      add_variables(items, document.index(), VariableKind::text);
      break;
    case Want::expression:
      add_expression_words(items, document.index());
      break;
    case Want::statement:
      add_keywords(items, TokenKind::If, TokenKind::Anykey);
      add_variables(items, document.index(), VariableKind::number);
      break;
    case Want::nothing:
      break;
  }
  return {{"isIncomplete", false}, {"items", items}};
}

}  // namespace tindel::author::lsp
