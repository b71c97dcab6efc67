#pragma once
// The editing of one typed line for `input` on a terminal, as the Windows console's own line
// editing does it: Left and Right, Home and End, Backspace and Delete, Ctrl+U, Up and Down
// through the lines typed earlier in the run, Escape to clear the line. The text is CP866 and
// never longer than the 63 characters that `input` keeps. Drawing is the caller's.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tindel {

// A key as the editor needs it: the arrows send the codes of "H" and "P", so whether the
// key came as an escape sequence tells the two apart.
struct EditKey {
  std::uint8_t code = 0;
  bool from_sequence = false;
};

class LineEditor {
 public:
  static constexpr std::size_t kMaxLength = 63;
  enum class Outcome { kEditing, kDone, kEndOfInput };

  // history: the lines typed earlier, oldest first; Enter adds the line to it.
  explicit LineEditor(std::vector<std::string>& history);

  Outcome press(EditKey key);
  const std::string& text() const { return text_; }
  std::size_t cursor() const { return cursor_; }

 private:
  Outcome press_control(std::uint8_t code);
  void press_sequence(std::uint8_t code);
  void insert(char c);
  void recall(int step);
  void replace(std::string text);

  std::vector<std::string>& history_;
  std::size_t recalled_;  // index into history_; its size for the line being typed
  std::string draft_;     // the line being typed, kept while earlier ones are recalled
  std::string text_;
  std::size_t cursor_ = 0;
};

}  // namespace tindel
