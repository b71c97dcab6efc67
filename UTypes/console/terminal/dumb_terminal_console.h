#pragma once
// The console on a terminal that takes no escape sequences (TERM=dumb, or no TERM at all):
// keys come from the terminal one by one as on any terminal, and the screen goes out as plain
// lines, as the stream front end prints it, with the highlighted menu entry marked.
#include <chrono>
#include <cstdint>
#include <string>

#include "UTypes/console/stream/plain_console.h"
#include "UTypes/console/terminal/terminal_guard.h"

namespace tindel {

class DumbTerminalConsole : public PlainConsole {
 public:
  // in_fd and out_fd are the same terminal, which speaks charset.
  DumbTerminalConsole(int in_fd, int out_fd, const Charset& charset);
  ~DumbTerminalConsole() override;

  std::uint8_t pollbreak() override;
  std::optional<std::string> readline() override;
  void discard_pending() override;
  // No colours: "> " before the highlighted entry, the others indented to match.
  std::string_view menu_mark(bool highlighted) const override { return highlighted ? "> " : "  "; }

 private:
  int in_fd_;
  TerminalGuard guard_;
  std::chrono::steady_clock::time_point last_break_poll_{};
};

}  // namespace tindel
