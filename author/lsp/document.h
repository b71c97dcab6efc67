#pragma once
// One quest open in the editor: its text as the editor holds it, the code page it is read in,
// and what the lint and the quest index found in it, renewed on every change.
#include <optional>
#include <string>
#include <vector>

#include "author/lint/lint.h"
#include "author/lsp/position_map.h"
#include "author/quest_index.h"

namespace tindel::author::lsp {

struct Document {
  std::string uri;
  int version = 0;
  char codepage = 'w';
  PositionMap positions{std::string()};
  std::vector<Problem> problems;
  std::string quest_bytes;  // the text in the quest's code page, as the tools read it

  // Built on the first request that needs it after a change, so typing only pays for the lint.
  const QuestIndex& index() const;

 private:
  mutable std::optional<QuestIndex> index_;
  friend void analyse(Document& document, std::string text, char codepage_setting);
};

// The code page of a document: its first-line comment, else the editor's setting.
char document_codepage(const std::string& text, char setting);

// Reads the text afresh: code page, positions and problems; the index is built when asked.
void analyse(Document& document, std::string text, char codepage_setting);

}  // namespace tindel::author::lsp
