#include "author/lsp/document.h"

#include "author/lsp/quest_encoding.h"
#include "author/lsp/uri.h"

namespace tindel::author::lsp {

char document_codepage(const std::string& text, char setting) {
  char named = codepage_from_first_line(text);
  return named != 0 ? named : setting;
}

void analyse(Document& document, std::string text, char codepage_setting) {
  document.codepage = document_codepage(text, codepage_setting);
  std::string bytes = quest_bytes_from_editor(text, document.codepage);
  LintOptions options;
  options.codepage = document.codepage;
  options.qs1 = false;  // an editor shows a .qs1 quest encoded; only plain quests are read here
  document.problems = lint_quest(bytes, options, folder_of_uri(document.uri));
  document.index = index_quest(bytes, options);
  document.positions = PositionMap(std::move(text));
}

}  // namespace tindel::author::lsp
