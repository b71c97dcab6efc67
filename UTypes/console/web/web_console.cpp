#include "UTypes/console/web/web_console.h"

#include <algorithm>

#include "UTypes/console/menu_tick.h"
#include "UTypes/console/terminal/line_editor.h"

namespace tindel {

WebConsole::WebConsole(PageLink& page, bool accessible)
    : page_(page),
      model_(kWidth, kHeight),
      painter_(kWidth, kHeight, AnsiColours(false), Charset(CharsetKind::kUtf8)),
      decoding_{.charset = Charset(CharsetKind::kUtf8), .collapse_crlf = false},
      accessible_(accessible) {
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
  announce_page();
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
  if (accessible_ && count > 0)
    reading_row_ = first_row - 1 + highlighted;
  else
    reading_row_.reset();
  offer_options();
  if (count > 0) announce_page();
  if ((count > 0) == mouse_reported_) return;
  mouse_reported_ = count > 0;
  out_ += mouse_reported_ ? kMouseReportsOn : kMouseReportsOff;
}

void WebConsole::offer_options() {
  std::vector<std::string> captions;
  const Charset utf8(CharsetKind::kUtf8);
  for (int i = 0; i < entries_.count; ++i) {
    const int row = entries_.first_row - 1 + i;
    if (row < 0 || row >= kHeight) break;
    std::string text = model_.row_text(row);
    std::string_view trimmed = text;
    trimmed.remove_prefix(std::min(trimmed.find_first_not_of(' '), trimmed.size()));
    // The accessible mode's mark is for the eye; the list box marks the highlight itself.
    if (trimmed.starts_with("> ")) trimmed.remove_prefix(2);
    captions.push_back(utf8.display(trimmed));
  }
  page_.menu_options(captions, entries_.count > 0 ? entries_.highlighted : -1);
}

// The rows of the screen above the waiting menu's entries (all of them when none waits).
std::vector<std::string> WebConsole::page_rows() const {
  const int end = entries_.count > 0 ? std::clamp(entries_.first_row - 1, 0, kHeight) : kHeight;
  std::vector<std::string> rows;
  for (int row = 0; row < end; ++row)
    rows.push_back(model_.row_text(row));
  return rows;
}

void WebConsole::announce_page() {
  std::vector<std::string> rows = page_rows();
  // What was said already (the rows above, unchanged since) is not said again.
  std::size_t first_new = 0;
  while (first_new < rows.size() && first_new < announced_rows_.size() &&
         rows[first_new] == announced_rows_[first_new])
    ++first_new;
  const Charset utf8(CharsetKind::kUtf8);
  std::string text;
  for (std::size_t i = first_new; i < rows.size(); ++i) {
    if (rows[i].find_first_not_of(' ') == std::string::npos) continue;
    if (!text.empty()) text += '\n';
    text += utf8.display(rows[i]);
  }
  announced_rows_ = std::move(rows);
  if (!text.empty()) page_.announce(text);
}

// The line is edited in the model, as on a terminal, so its rows and `wherey` stay right
// however it wraps.
std::optional<std::string> WebConsole::readline() {
  LineEditor editor(typed_lines_);
  announce_page();
  page_.line_wanted(true);
  edited_.begin(model_);
  LineEditor::Outcome outcome = LineEditor::Outcome::kEditing;
  while (outcome == LineEditor::Outcome::kEditing) {
    edited_.draw(model_, editor.text(), editor.cursor(), attr_);
    paint();
    std::optional<DecodedKey> key = wait_key();
    outcome = editor.press({key->key, key->from_sequence});
  }
  page_.line_wanted(false);
  if (outcome == LineEditor::Outcome::kEndOfInput) {
    edited_.abandon();
    return std::nullopt;
  }
  edited_.finish(model_, editor.text(), attr_);
  paint();
  announced_rows_ = page_rows();  // the player typed the line: it is not read back to them
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
  reading_row_.reset();
  announced_rows_.clear();
  attr_ = attr;
  model_.clear(attr);
  painter_.clear(attr, out_);
}

void WebConsole::conwrite(std::string_view bytes, std::uint8_t attr) {
  reading_row_.reset();
  attr_ = attr;
  model_.write(bytes, attr);
}

// A screen shown again is a new page to a screen reader: all of it is told.
void WebConsole::show_screen_image(const ScreenImage& image) {
  reading_row_.reset();
  announced_rows_.clear();
  model_.show_image(image);
}

void WebConsole::gotoxy(int x, int y) {
  reading_row_.reset();
  model_.move_cursor(x - 1, y - 1);
}

void WebConsole::before_scroll(const ScreenModel&) {
  reading_row_.reset();  // the rows move; the menu tells the row again when it redraws
  if (!announced_rows_.empty()) announced_rows_.erase(announced_rows_.begin());
  edited_.scrolled();
  paint();
  painter_.scroll_up(out_);
}

void WebConsole::paint() {
  painter_.paint(model_, out_, reading_row_);
  if (out_.empty()) return;
  page_.show(out_);
  out_.clear();
}

}  // namespace tindel
