#include "UTypes/console/terminal/dumb_terminal_console.h"

#include <termios.h>

namespace tindel {

namespace {

// As on a full terminal: the scanner asks at every quest line end.
constexpr auto kBreakPollInterval = std::chrono::milliseconds(20);

}  // namespace

DumbTerminalConsole::DumbTerminalConsole(int in_fd, int out_fd, const Charset& charset)
    : PlainConsole(in_fd, out_fd, charset, false), in_fd_(in_fd), guard_(in_fd, out_fd) {
  screen_.show_live();
  guard_.enter_raw();
}

DumbTerminalConsole::~DumbTerminalConsole() {
  screen_.flush();
  guard_.restore();
}

std::uint8_t DumbTerminalConsole::pollbreak() {
  auto now = std::chrono::steady_clock::now();
  if (now - last_break_poll_ < kBreakPollInterval) return key::kNone;
  last_break_poll_ = now;
  screen_.settle();  // what a running script wrote shows while it runs
  reader_.fill(0);
  return reader_.take_key().value_or(key::kNone);
}

// The terminal's own line editing and echo, after the prompt.
std::optional<std::string> DumbTerminalConsole::readline() {
  screen_.begin_echoed_line();
  reader_.clear();
  guard_.enter_line_mode(charset_.is_utf8());
  std::optional<std::string> line;
  while (!(line = reader_.take_line()) && !reader_.ended())
    reader_.fill(-1);
  guard_.enter_raw();
  reader_.forget_end();
  if (!line) return std::nullopt;
  std::string cp866 = charset_.typed_text(*line);
  screen_.end_echoed_line(cp866);
  return cp866;
}

void DumbTerminalConsole::discard_pending() {
  ::tcflush(in_fd_, TCIFLUSH);
  reader_.clear();
}

}  // namespace tindel
