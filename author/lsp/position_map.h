#pragma once
// Positions in two countings over one text. The quest tools count lines from 1, split at CR LF
// only (as the interpreter reads them), and columns from 1 in characters. The editor counts
// lines from 0, split at LF, CR LF or a lone CR, and columns from 0 in UTF-16 code units.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tindel::author::lsp {

struct QuestPosition {
  int line = 1;
  int column = 1;
};

struct EditorPosition {
  int line = 0;
  int character = 0;
  friend bool operator==(const EditorPosition&, const EditorPosition&) = default;
};

class PositionMap {
 public:
  // text: the document as the editor holds it, in UTF-8. When it holds no CR at all the quest
  // is read with CR LF in place of each LF, so quest lines are the editor's lines.
  explicit PositionMap(std::string text);

  EditorPosition to_editor(QuestPosition quest) const;
  // The editor position `characters` characters after the quest position.
  EditorPosition to_editor(QuestPosition quest, int characters) const;
  QuestPosition to_quest(EditorPosition editor) const;
  // The byte offset in the text of an editor position (clamped to its line).
  std::size_t offset_of(EditorPosition editor) const;

  const std::string& text() const { return text_; }
  // The editor's line, without its line end.
  std::string_view editor_line(int line) const;

 private:
  std::size_t quest_offset(QuestPosition quest, int extra_characters) const;
  EditorPosition editor_position_of(std::size_t offset) const;

  std::string text_;
  bool keeps_cr_ = false;
  std::vector<std::size_t> editor_starts_;  // byte offset of each editor line
  std::vector<std::size_t> quest_starts_;   // byte offset of each quest line
};

// Byte offset in a UTF-8 line after `characters` characters (or the line's end).
std::size_t advance_characters(std::string_view line, std::size_t from, int characters);
// The number of UTF-16 code units that a UTF-8 text takes.
int utf16_length(std::string_view utf8);

}  // namespace tindel::author::lsp
