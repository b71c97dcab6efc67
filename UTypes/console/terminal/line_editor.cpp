#include "UTypes/console/terminal/line_editor.h"

#include "UTypes/console/console.h"

namespace tindel {

namespace {

// The control bytes that edit.
constexpr std::uint8_t kCtrlA = 1;
constexpr std::uint8_t kCtrlD = 4;
constexpr std::uint8_t kCtrlE = 5;
constexpr std::uint8_t kCtrlU = 21;

}  // namespace

LineEditor::LineEditor(std::vector<std::string>& history)
    : history_(history), recalled_(history.size()) {}

LineEditor::Outcome LineEditor::press(EditKey key) {
  if (key.from_sequence) {
    press_sequence(key.code);
    return Outcome::kEditing;
  }
  if (key.code < 0x20) return press_control(key.code);
  insert(static_cast<char>(key.code));
  return Outcome::kEditing;
}

LineEditor::Outcome LineEditor::press_control(std::uint8_t code) {
  switch (code) {
    case key::kEnter:
      if (!text_.empty()) history_.push_back(text_);
      return Outcome::kDone;
    case kCtrlD:
      return text_.empty() ? Outcome::kEndOfInput : Outcome::kEditing;
    case key::kBackspace:
      if (cursor_ > 0) text_.erase(--cursor_, 1);
      break;
    case kCtrlU:
      text_.erase(0, cursor_);
      cursor_ = 0;
      break;
    case key::kEscape:
      replace({});
      break;
    case kCtrlA:
      cursor_ = 0;
      break;
    case kCtrlE:
      cursor_ = text_.size();
      break;
    default:
      break;  // Tab and the other controls type nothing
  }
  return Outcome::kEditing;
}

void LineEditor::press_sequence(std::uint8_t code) {
  switch (code) {
    case key::kLeft:
      if (cursor_ > 0) --cursor_;
      break;
    case key::kRight:
      if (cursor_ < text_.size()) ++cursor_;
      break;
    case key::kHome:
      cursor_ = 0;
      break;
    case key::kEnd:
      cursor_ = text_.size();
      break;
    case key::kDelete:
      if (cursor_ < text_.size()) text_.erase(cursor_, 1);
      break;
    case key::kUp:
      recall(-1);
      break;
    case key::kDown:
      recall(1);
      break;
    default:
      break;  // function keys, Page Up and the like edit nothing
  }
}

void LineEditor::insert(char c) {
  if (text_.size() >= kMaxLength) return;
  text_.insert(cursor_++, 1, c);
}

// Up from the line being typed keeps it as the draft; Down past the newest brings it back.
void LineEditor::recall(int step) {
  if (step < 0 && recalled_ == 0) return;
  if (step > 0 && recalled_ >= history_.size()) return;
  if (recalled_ == history_.size()) draft_ = text_;
  recalled_ = step < 0 ? recalled_ - 1 : recalled_ + 1;
  replace(recalled_ == history_.size() ? draft_ : history_[recalled_]);
}

void LineEditor::replace(std::string text) {
  text_ = std::move(text);
  if (text_.size() > kMaxLength) text_.resize(kMaxLength);
  cursor_ = text_.size();
}

}  // namespace tindel
