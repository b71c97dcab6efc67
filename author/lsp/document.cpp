#include "author/lsp/document.h"

#include "author/lsp/quest_encoding.h"
#include "author/lsp/uri.h"

namespace tindel::author::lsp {

char document_codepage(const std::string& text, char setting) {
  char named = codepage_from_first_line(text);
  return named != 0 ? named : setting;
}

namespace {

LintOptions options_of(const Document& document) {
  LintOptions options;
  options.codepage = document.codepage;
  options.qs1 = false;  // an editor shows a .qs1 quest encoded; only plain quests are read here
  return options;
}

}  // namespace

const QuestIndex& Document::index() const {
  if (!index_) index_ = index_quest(quest_bytes, options_of(*this));
  return *index_;
}

void analyse(Document& document, std::string text, char codepage_setting) {
  document.codepage = document_codepage(text, codepage_setting);
  document.quest_bytes = quest_bytes_from_editor(text, document.codepage);
  document.problems =
      lint_quest(document.quest_bytes, options_of(document), folder_of_uri(document.uri));
  document.index_.reset();
  document.positions = PositionMap(std::move(text));
}

}  // namespace tindel::author::lsp
