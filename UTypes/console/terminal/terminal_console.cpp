#include "UTypes/console/terminal/terminal_console.h"

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

extern char** environ;

#include "UTypes/charset/cp866.h"
#include "UTypes/console/menu_tick.h"
#include "UTypes/console/screen_extent.h"
#include "UTypes/state/program_end.h"

namespace tindel {

namespace {

struct TerminalSize {
  int width = 80;
  int height = 25;
};

TerminalSize terminal_size(int fd) {
  winsize ws{};
  if (::ioctl(fd, TIOCGWINSZ, &ws) != 0 || ws.ws_col == 0 || ws.ws_row == 0) return {};
  return {screen_side(ws.ws_col), screen_side(ws.ws_row)};
}

// The scanner asks at every quest line end; reading the terminal that often is waste.
constexpr auto kBreakPollInterval = std::chrono::milliseconds(20);
// How long text written by a running script may wait before it is painted.
constexpr auto kPaintInterval = std::chrono::milliseconds(40);

constexpr const char* kPushTitle = "\x1b[22;0t";
constexpr const char* kPopTitle = "\x1b[23;0t";

}  // namespace

TerminalConsole::TerminalConsole(int in_fd, int out_fd, const Charset& charset,
                                 TerminalOptions options)
    : in_fd_(in_fd),
      out_fd_(out_fd),
      accessible_(options.accessible),
      charset_(charset),
      guard_(in_fd, out_fd),
      model_(terminal_size(out_fd).width, terminal_size(out_fd).height),
      painter_(model_.width(), model_.height(), AnsiColours(options.no_color), charset),
      reader_(in_fd, KeyDecoderOptions{.charset = charset, .collapse_crlf = false}),
      picture_([no_color = options.no_color, utf8 = charset.is_utf8()] {
        return detect_picture_style(environ, no_color, utf8);
      }) {
  model_.set_listener(this);
  guard_.enter_raw();
  out_ += kPushTitle;
  send();
  guard_.set_farewell(farewell());
}

void TerminalConsole::restore() {
  if (restored_) return;
  close_picture();
  render();
  restored_ = true;
  guard_.set_farewell(farewell());
  guard_.restore();
}

std::uint8_t TerminalConsole::readkey() {
  render();
  reader_.fill(0);
  return take_key().value_or(key::kNone);
}

std::uint8_t TerminalConsole::pollbreak() {
  render_soon();
  auto now = std::chrono::steady_clock::now();
  if (now - last_break_poll_ < kBreakPollInterval) return key::kNone;
  last_break_poll_ = now;
  reader_.fill(0);
  return take_key().value_or(key::kNone);
}

std::uint8_t TerminalConsole::waitkey() {
  render();
  for (;;) {
    if (std::optional<std::uint8_t> key = take_key()) return *key;
    if (reader_.ended() && reader_.empty())
      throw ProgramEnd{exit_status::kOk, "tindel: input ended"};
    auto filled = reader_.fill(reader_.empty() ? -1 : reader_.sequence_wait_left());
    if (filled == KeyReader::Fill::kInterrupted && follow_signals()) {
      render();
      return key::kNone;  // the caller draws again for the new size
    }
  }
}

// The line is edited in raw mode and drawn through the model, so the rows and `wherey` stay
// right however it wraps, and a resize or a stop keeps what was typed.
std::optional<std::string> TerminalConsole::readline() {
  wait_for_picture_key();  // the line is typed once the picture is closed
  close_picture();
  LineEditor editor(typed_lines_);
  edited_.begin(model_);
  LineEditor::Outcome outcome = LineEditor::Outcome::kEditing;
  while (outcome == LineEditor::Outcome::kEditing) {
    edited_.draw(model_, editor.text(), editor.cursor(), attr_);
    render();
    // In raw mode Ctrl+D is a key; an end of the input is a terminal gone.
    if (reader_.ended() && reader_.empty())
      outcome = LineEditor::Outcome::kEndOfInput;
    else if (std::optional<DecodedKey> key = next_edit_key())
      outcome = editor.press({key->key, key->from_sequence});
  }
  if (outcome == LineEditor::Outcome::kEndOfInput) {
    edited_.abandon();
    return std::nullopt;
  }
  edited_.finish(model_, editor.text(), attr_);
  render();
  return editor.text();
}

std::optional<DecodedKey> TerminalConsole::next_edit_key() {
  if (std::optional<DecodedKey> key = reader_.take_decoded()) return key;
  auto filled = reader_.fill(reader_.empty() ? -1 : reader_.sequence_wait_left());
  if (filled == KeyReader::Fill::kInterrupted && follow_signals()) edited_.fit(model_);
  return std::nullopt;
}

void TerminalConsole::menutick() {
  render();
  sleep_menu_tick();
}

void TerminalConsole::discard_pending() {
  ::tcflush(in_fd_, TCIFLUSH);
  reader_.clear();
  clicked_keys_.clear();
}

void TerminalConsole::set_title(std::string_view title) {
  title_ = charset_.display(title);
  out_ += title_sequence();
  send();
}

void TerminalConsole::showcursor(bool visible) {
  cursor_visible_ = visible;
  if (!picture_.showing()) out_ += cursor_sequence();
  send();
}

void TerminalConsole::clrscr(std::uint8_t attr) {
  reading_row_.reset();
  attr_ = attr;
  cleared_attr_ = attr;
  model_.clear(attr);
  if (!picture_.showing()) painter_.clear(attr, out_);
  changed();
}

void TerminalConsole::conwrite(std::string_view bytes, std::uint8_t attr) {
  reading_row_.reset();
  attr_ = attr;
  model_.write(bytes, attr);
  changed();
}

void TerminalConsole::conwrite_highlighted(std::string_view bytes, std::uint8_t attr) {
  reading_row_.reset();
  attr_ = attr;
  model_.write_highlighted(bytes, attr);
  changed();
}

void TerminalConsole::show_screen_image(const ScreenImage& image) {
  model_.show_image(image);
  changed();
}

void TerminalConsole::menu_entries(int first_row, int count, int highlighted) {
  entries_ = {first_row, count, highlighted};
  // What is left of a click was meant for a list that no longer waits.
  if (count <= 0) clicked_keys_.clear();
  report_mouse(count > 0);
  follow_highlight();
}

// Accessible: the model's cursor stays where the menu put it; only the terminal's goes to
// the start of the highlighted entry, until the next write.
void TerminalConsole::follow_highlight() {
  if (!accessible_) return;
  if (entries_.count > 0)
    reading_row_ = entries_.first_row - 1 + entries_.highlighted;
  else
    reading_row_.reset();
  changed();
}

// The change goes out with the next paint, before the menu waits for a key.
void TerminalConsole::report_mouse(bool on) {
  if (on == mouse_reported_ || restored_) return;
  mouse_reported_ = on;
  out_ += on ? kMouseReportsOn : kMouseReportsOff;
}

void TerminalConsole::gotoxy(int x, int y) {
  reading_row_.reset();
  model_.move_cursor(x - 1, y - 1);
  changed();
}

void TerminalConsole::before_scroll(const ScreenModel&) {
  edited_.scrolled();
  if (picture_.showing()) return;  // the model is painted whole when the picture closes
  // Sent with the rest at the next render (within the paint interval): a page that scrolls
  // goes out in one write, not one a line.
  paint();
  painter_.scroll_up(out_);
}

bool TerminalConsole::follow_signals() {
  bool redraw = false;
  if (take_resume_signal()) {
    // Back from a stop: the title and the cursor were given back, the screen may be
    // anything.
    out_ += kPushTitle + title_sequence() + cursor_sequence();
    if (mouse_reported_) out_ += kMouseReportsOn;
    redraw = true;
  }
  if (take_resize_signal()) {
    reading_row_.reset();  // the rows move; the menu tells the row again when it redraws
    TerminalSize size = terminal_size(out_fd_);
    model_.resize(size.width, size.height);
    painter_.resize(size.width, size.height);
    redraw = true;
  }
  if (redraw && picture_.showing()) {
    painter_.forget();
    picture_.redraw(picture_area(), out_);
  } else if (redraw) {
    painter_.clear(attr_, out_);
  }
  return redraw;
}

void TerminalConsole::changed() {
  if (!unpainted_) {
    unpainted_ = true;
    unpainted_since_ = std::chrono::steady_clock::now();
  }
  render_soon();
}

void TerminalConsole::render_soon() {
  if (unpainted_ && std::chrono::steady_clock::now() - unpainted_since_ >= kPaintInterval) render();
}

void TerminalConsole::render() {
  unpainted_ = false;
  if (restored_) return;
  follow_signals();
  if (!picture_.showing()) paint();
  send();
  guard_.set_farewell(farewell());
}

void TerminalConsole::paint() {
  painter_.paint(model_, out_, reading_row_);
}

void TerminalConsole::send() {
  std::string_view rest = out_;
  while (!rest.empty()) {
    ssize_t n = ::write(out_fd_, rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the terminal is gone; the hang-up signal ends the program
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  out_.clear();
}

std::string TerminalConsole::show_picture(const std::string& file) {
  if (restored_) return "picture " + file + " not shown: the terminal is given back";
  if (accessible_) return "picture " + file + " not drawn: the accessible mode draws none";
  follow_signals();
  std::string note = picture_.show(file, picture_area(), out_);
  send();
  guard_.set_farewell(farewell());
  return note;
}

std::optional<std::uint8_t> TerminalConsole::take_key() {
  for (;;) {
    if (!clicked_keys_.empty()) {
      std::uint8_t key = clicked_keys_.front();
      clicked_keys_.pop_front();
      return key;
    }
    std::optional<DecodedKey> event = reader_.take_event();
    if (!event) return std::nullopt;
    if (event->status == DecodedKey::Status::kMouse) {
      if (take_mouse(event->mouse)) return std::nullopt;
      continue;
    }
    if (!picture_.showing()) return event->key;
    close_picture();
    return std::nullopt;
  }
}

bool TerminalConsole::take_mouse(const MouseReport& report) {
  if (picture_.showing()) {
    if (report.press) close_picture();
    return report.press;
  }
  for (std::uint8_t key : keys_for_mouse(entries_, report))
    clicked_keys_.push_back(key);
  return false;
}

void TerminalConsole::wait_for_picture_key() {
  while (picture_.showing() && !(reader_.ended() && reader_.empty())) {
    take_key();
    if (!picture_.showing()) break;
    auto filled = reader_.fill(reader_.empty() ? -1 : reader_.sequence_wait_left());
    if (filled == KeyReader::Fill::kInterrupted && follow_signals()) send();
  }
}

void TerminalConsole::close_picture() {
  if (!picture_.showing()) return;
  picture_.close(out_);
  // Cleared again in the colours of the quest's own clear, the screen comes back cell for
  // cell as it was drawn beneath the picture (the picture's colours are not known to be
  // in force any more).
  painter_.forget();
  painter_.clear(cleared_attr_, out_);
  paint();
  out_ += cursor_sequence();
  send();
  guard_.set_farewell(farewell());
}

PictureArea TerminalConsole::picture_area() const {
  winsize ws{};
  PictureArea area{model_.width(), model_.height()};
  if (::ioctl(out_fd_, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
    area.cell_width = ws.ws_xpixel / ws.ws_col;
    area.cell_height = ws.ws_ypixel / ws.ws_row;
  }
  return area;
}

std::string TerminalConsole::farewell() const {
  // The shell's prompt goes on the first row below everything written, or below the
  // picture when one covers the screen (the program ended by a signal while it was up).
  const int row = picture_.showing() ? model_.height() : last_row_in_use(model_) + 1;
  std::string bytes = kMouseReportsOff;
  bytes += "\x1b[0m\x1b[?25h";
  bytes += kPopTitle;
  if (row < model_.height()) {
    bytes += "\x1b[" + std::to_string(row + 1) + ";1H";
  } else {
    bytes += "\x1b[" + std::to_string(model_.height()) + ";1H\n";
  }
  return bytes;
}

std::string TerminalConsole::title_sequence() const {
  if (title_.empty()) return {};
  return "\x1b]0;" + title_ + "\x07";
}

std::string TerminalConsole::cursor_sequence() const {
  return cursor_visible_ ? "\x1b[?25h" : "\x1b[?25l";
}

}  // namespace tindel
