#include "UTypes/console/stream_console.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "UTypes/console/cp866.h"
#include "UTypes/console/menu_tick.h"
#include "UTypes/console/screen_extent.h"
#include "UTypes/console/terminal/terminal_guard.h"
#include "UTypes/state/program_end.h"

namespace tindel {

StreamConsole::StreamConsole(int in_fd, int out_fd, bool utf8)
    : model_(80, 25),
      reader_(in_fd, KeyDecoderOptions{.utf8 = utf8, .collapse_crlf = true}),
      out_fd_(out_fd),
      utf8_(utf8) {
  model_.set_listener(this);
  // Players still sounding must be stopped on Ctrl+C also when nobody watches a terminal.
  install_exit_signal_handlers();
}

StreamConsole::~StreamConsole() {
  flush();
}

std::uint8_t StreamConsole::readkey() {
  if (!reader_.ended()) reader_.fill(0);
  std::optional<std::uint8_t> key = reader_.take_key();
  if (!key) return key::kNone;
  emit_rows_above_cursor();
  return *key;
}

std::uint8_t StreamConsole::waitkey() {
  emit_rows_above_cursor();
  for (;;) {
    if (std::optional<std::uint8_t> key = reader_.take_key()) return *key;
    if (reader_.ended() && reader_.empty())
      throw ProgramEnd{exit_status::kOk, "tindel: input ended"};
    reader_.fill(reader_.empty() ? -1 : reader_.sequence_wait_left());
  }
}

std::optional<std::string> StreamConsole::readline() {
  emit_rows_above_cursor();
  for (;;) {
    if (std::optional<std::string> line = reader_.take_line()) {
      if (utf8_) *line = utf8_to_cp866(*line);
      model_.write(*line + "\r\n", attr_);  // as the player would see it typed
      return line;
    }
    if (reader_.ended()) return std::nullopt;
    reader_.fill(-1);
  }
}

void StreamConsole::menutick() {
  sleep_menu_tick();
}

void StreamConsole::clrscr(std::uint8_t attr) {
  emit_rows_written();
  model_.clear(attr);
  attr_ = attr;
  emitted_ = 0;
}

void StreamConsole::conwrite(std::string_view bytes, std::uint8_t attr) {
  attr_ = attr;
  model_.write(bytes, attr);
}

void StreamConsole::flush() {
  emit_rows_written();
}

void StreamConsole::before_scroll(const ScreenModel&) {
  if (emitted_ == 0) {
    write_out(cp866_to_display(model_.row_text(0), utf8_) + "\n");
  } else {
    --emitted_;  // the emitted top row goes; the rest move up by one
  }
}

void StreamConsole::emit_rows_above_cursor() {
  emit_rows_through(model_.cursor_y() - 1);
}

void StreamConsole::emit_rows_written() {
  emit_rows_through(last_row_in_use(model_));
}

std::string StreamConsole::unsettled_rows() const {
  std::string text;
  for (int row = emitted_; row <= last_row_in_use(model_); ++row)
    text += cp866_to_display(model_.row_text(row), utf8_) + "\n";
  return text;
}

void StreamConsole::emit_rows_through(int last) {
  std::string text;
  for (; emitted_ <= last; ++emitted_) {
    text += cp866_to_display(model_.row_text(emitted_), utf8_);
    text += '\n';
  }
  if (!text.empty()) write_out(text);
}

void StreamConsole::write_out(const std::string& text) {
  std::string_view rest = text;
  while (!rest.empty()) {
    ssize_t n = ::write(out_fd_, rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // nobody reads any more: the text has nowhere to go
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace tindel
