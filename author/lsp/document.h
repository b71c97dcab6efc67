#pragma once
// One quest open in the editor: its text as the editor holds it, the code page it is read in,
// and what the lint and the quest index found in it, renewed on every change.
#include <string>
#include <vector>

#include "author/lint.h"
#include "author/lsp/position_map.h"
#include "author/quest_index.h"

namespace tindel::author::lsp {

struct Document {
  std::string uri;
  int version = 0;
  char codepage = 'w';
  PositionMap positions{std::string()};
  std::vector<Problem> problems;
  QuestIndex index;
};

// The code page of a document: its first-line comment, else the editor's setting.
char document_codepage(const std::string& text, char setting);

// Reads the text afresh: code page, positions, problems and index.
void analyse(Document& document, std::string text, char codepage_setting);

}  // namespace tindel::author::lsp
