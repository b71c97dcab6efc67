#include "UTypes/media/external/command_words.h"

namespace tindel {

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

// Reads a quoted part that starts after its opening quote at text[i]; returns the index just
// past the closing quote (or the end of the text).
size_t read_quoted(std::string_view text, size_t i, char quote, std::string& word) {
  while (i < text.size() && text[i] != quote) {
    char c = text[i];
    if (quote == '"' && c == '\\' && i + 1 < text.size() &&
        (text[i + 1] == '"' || text[i + 1] == '\\'))
      c = text[++i];
    word += c;
    ++i;
  }
  return i < text.size() ? i + 1 : i;
}

}  // namespace

std::vector<std::string> split_command_words(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;  // an empty quoted word ('') still counts as a word
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (is_blank(c)) {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
      ++i;
      continue;
    }
    in_word = true;
    if (c == '\'' || c == '"') {
      i = read_quoted(text, i + 1, c, word);
    } else if (c == '\\' && i + 1 < text.size()) {
      word += text[i + 1];
      i += 2;
    } else {
      word += c;
      ++i;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

}  // namespace tindel
