#include "author/lsp/position_map.h"

#include <algorithm>

namespace tindel::author::lsp {

namespace {

bool continuation_byte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::vector<std::size_t> editor_line_starts(std::string_view text) {
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (text[i] == '\n' || text[i] == '\r') starts.push_back(i + 1);
  }
  return starts;
}

std::vector<std::size_t> crlf_line_starts(std::string_view text) {
  std::vector<std::size_t> starts{0};
  for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
       at = text.find("\r\n", at + 2)) {
    starts.push_back(at + 2);
  }
  return starts;
}

// The index of the line whose start is the last one at or before offset.
std::size_t line_of(const std::vector<std::size_t>& starts, std::size_t offset) {
  return static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), offset) -
                                  starts.begin()) -
         1;
}

// Offset of the end of a line's content, before its line end.
std::size_t content_end(std::string_view text, std::size_t start) {
  std::size_t end = text.find_first_of("\r\n", start);
  return end == std::string_view::npos ? text.size() : end;
}

}  // namespace

std::size_t advance_characters(std::string_view line, std::size_t from, int characters) {
  std::size_t at = from;
  for (int i = 0; i < characters && at < line.size(); ++i) {
    ++at;
    while (at < line.size() && continuation_byte(line[at]))
      ++at;
  }
  return at;
}

int utf16_length(std::string_view utf8) {
  int units = 0;
  for (char c : utf8) {
    auto byte = static_cast<unsigned char>(c);
    if (continuation_byte(c)) continue;
    units += byte >= 0xF0 ? 2 : 1;  // four-byte sequences lie beyond the BMP: a surrogate pair
  }
  return units;
}

PositionMap::PositionMap(std::string text) : text_(std::move(text)) {
  editor_starts_ = editor_line_starts(text_);
  keeps_cr_ = text_.find('\r') != std::string::npos;
  quest_starts_ = keeps_cr_ ? crlf_line_starts(text_) : editor_starts_;
}

std::size_t PositionMap::quest_offset(QuestPosition quest, int extra_characters) const {
  if (quest.line < 1) return 0;
  auto line = static_cast<std::size_t>(quest.line - 1);
  if (line >= quest_starts_.size()) return text_.size();
  std::size_t start = quest_starts_[line];
  std::size_t line_end = content_end(text_, start);
  if (keeps_cr_) {  // a quest line runs over lone LFs up to its CR LF
    line_end = line + 1 < quest_starts_.size() ? quest_starts_[line + 1] - 2 : text_.size();
  }
  int characters = std::max(quest.column - 1, 0) + std::max(extra_characters, 0);
  std::string_view view(text_.data(), line_end);
  return advance_characters(view, start, characters);
}

EditorPosition PositionMap::editor_position_of(std::size_t offset) const {
  std::size_t line = line_of(editor_starts_, offset);
  std::size_t start = editor_starts_[line];
  std::size_t end = std::min(offset, content_end(text_, start));
  return {static_cast<int>(line), utf16_length(std::string_view(text_).substr(start, end - start))};
}

EditorPosition PositionMap::to_editor(QuestPosition quest) const {
  return to_editor(quest, 0);
}

EditorPosition PositionMap::to_editor(QuestPosition quest, int characters) const {
  return editor_position_of(quest_offset(quest, characters));
}

std::size_t PositionMap::offset_of(EditorPosition editor) const {
  if (editor.line < 0) return 0;
  auto line = static_cast<std::size_t>(editor.line);
  if (line >= editor_starts_.size()) return text_.size();
  std::size_t start = editor_starts_[line];
  std::size_t end = content_end(text_, start);
  std::size_t at = start;
  // Walk characters until the UTF-16 count reaches the editor's column.
  for (int units = 0; at < end && units < editor.character;) {
    std::size_t next = advance_characters(std::string_view(text_.data(), end), at, 1);
    units += utf16_length(std::string_view(text_).substr(at, next - at));
    at = next;
  }
  return at;
}

QuestPosition PositionMap::to_quest(EditorPosition editor) const {
  std::size_t at = offset_of(editor);
  std::size_t quest_line = line_of(quest_starts_, at);
  std::size_t quest_start = quest_starts_[quest_line];
  int column = 1;
  for (std::size_t i = quest_start; i < at; ++i)
    column += continuation_byte(text_[i]) ? 0 : 1;
  return {static_cast<int>(quest_line) + 1, column};
}

std::string_view PositionMap::editor_line(int line) const {
  if (line < 0 || static_cast<std::size_t>(line) >= editor_starts_.size()) return {};
  std::size_t start = editor_starts_[static_cast<std::size_t>(line)];
  return std::string_view(text_).substr(start, content_end(text_, start) - start);
}

}  // namespace tindel::author::lsp
