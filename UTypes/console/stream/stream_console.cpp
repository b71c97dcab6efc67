#include "UTypes/console/stream/stream_console.h"

#include "UTypes/console/exit_signals.h"

namespace tindel {

StreamConsole::StreamConsole(int in_fd, int out_fd, const Charset& charset)
    : PlainConsole(in_fd, out_fd, charset, true) {
  // Players still sounding must be stopped on Ctrl+C also when nobody watches a terminal.
  install_exit_signal_handlers();
}

std::optional<std::string> StreamConsole::readline() {
  screen_.settle();
  for (;;) {
    if (std::optional<std::string> line = reader_.take_line()) return take_typed_line(*line);
    if (reader_.ended()) return std::nullopt;
    reader_.fill(-1);
  }
}

}  // namespace tindel
