#include "UTypes/console/web/web_console.h"

#include <algorithm>

#include "UTypes/console/menu_tick.h"
#include "UTypes/console/terminal/line_editor.h"

namespace tindel {

WebConsole::WebConsole(PageLink& page)
    : page_(page),
      model_(kWidth, kHeight),
      painter_(kWidth, kHeight, AnsiColours(false), Charset(CharsetKind::kUtf8)),
      decoding_{.charset = Charset(CharsetKind::kUtf8), .collapse_crlf = false} {
  model_.set_listener(this);
}

// Keys reach the page only while the interpreter waits, and every wait moves them all here,
// so the scanner's poll looks at what is already here and costs the page nothing.
std::uint8_t WebConsole::pollbreak() {
  if (typed_.empty()) return key::kNone;
  std::optional<DecodedKey> key = take_key();
  return key ? key->key : key::kNone;
}

std::uint8_t WebConsole::readkey() {
  paint();
  page_.take_typed(typed_, 0);
  std::optional<DecodedKey> key = take_key();
  return key ? key->key : key::kNone;
}

std::uint8_t WebConsole::waitkey() {
  paint();
  return wait_key()->key;
}

std::optional<DecodedKey> WebConsole::wait_key() {
  for (;;) {
    if (std::optional<DecodedKey> key = take_key()) return key;
    page_.take_typed(typed_, -1);
  }
}

// The page sends whole sequences, so what is here is all there is of a key: a lone Escape
// is the Escape key. A mouse report gives the keys it stands for.
std::optional<DecodedKey> WebConsole::take_key() {
  for (;;) {
    if (!clicked_keys_.empty()) {
      const std::uint8_t code = clicked_keys_.front();
      clicked_keys_.pop_front();
      const bool arrow = code == key::kUp || code == key::kDown;
      return DecodedKey{.status = DecodedKey::Status::kKey, .key = code, .from_sequence = arrow};
    }
    if (typed_.empty()) return std::nullopt;
    DecodedKey key = decode_key(typed_, decoding_, true);
    typed_.erase(0, std::max<std::size_t>(key.length, 1));
    if (key.status == DecodedKey::Status::kKey) return key;
    if (key.status == DecodedKey::Status::kMouse) {
      for (std::uint8_t code : keys_for_mouse(entries_, key.mouse))
        clicked_keys_.push_back(code);
    }
  }
}

void WebConsole::menu_entries(int first_row, int count, int highlighted) {
  entries_ = {first_row, count, highlighted};
  // What is left of a click was meant for a list that no longer waits.
  if (count <= 0) clicked_keys_.clear();
  if ((count > 0) == mouse_reported_) return;
  mouse_reported_ = count > 0;
  out_ += mouse_reported_ ? kMouseReportsOn : kMouseReportsOff;
}

// The line is edited in the model, as on a terminal, so its rows and `wherey` stay right
// however it wraps.
std::optional<std::string> WebConsole::readline() {
  LineEditor editor(typed_lines_);
  edited_.begin(model_);
  LineEditor::Outcome outcome = LineEditor::Outcome::kEditing;
  while (outcome == LineEditor::Outcome::kEditing) {
    edited_.draw(model_, editor.text(), editor.cursor(), attr_);
    paint();
    std::optional<DecodedKey> key = wait_key();
    outcome = editor.press({key->key, key->from_sequence});
  }
  if (outcome == LineEditor::Outcome::kEndOfInput) {
    edited_.abandon();
    return std::nullopt;
  }
  edited_.finish(model_, editor.text(), attr_);
  paint();
  return editor.text();
}

void WebConsole::menutick() {
  paint();
  page_.pause(kMenuTickMs);
}

void WebConsole::set_title(std::string_view title) {
  page_.set_title(Charset(CharsetKind::kUtf8).display(title));
}

void WebConsole::showcursor(bool visible) {
  out_ += visible ? "\x1b[?25h" : "\x1b[?25l";
}

void WebConsole::clrscr(std::uint8_t attr) {
  attr_ = attr;
  model_.clear(attr);
  painter_.clear(attr, out_);
}

void WebConsole::conwrite(std::string_view bytes, std::uint8_t attr) {
  attr_ = attr;
  model_.write(bytes, attr);
}

void WebConsole::before_scroll(const ScreenModel&) {
  edited_.scrolled();
  paint();
  painter_.scroll_up(out_);
}

void WebConsole::paint() {
  painter_.paint(model_, out_);
  if (out_.empty()) return;
  page_.show(out_);
  out_.clear();
}

}  // namespace tindel
