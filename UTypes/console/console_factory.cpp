#include "UTypes/console/console_factory.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "UTypes/console/stream/stream_console.h"
#include "UTypes/console/terminal/dumb_terminal_console.h"
#include "UTypes/console/terminal/terminal_console.h"
#include "UTypes/console/terminal/transcript_console.h"

namespace tindel {

namespace {

// NO_COLOR counts when it is set to anything but the empty text.
bool no_color_requested() {
  const char* value = std::getenv("NO_COLOR");
  return value != nullptr && value[0] != '\0';
}

std::unique_ptr<Console> terminal_console(int fd_in, int fd_out, const Charset& charset) {
  if (terminal_is_dumb(std::getenv("TERM")))
    return std::make_unique<DumbTerminalConsole>(fd_in, fd_out, charset);
  return std::make_unique<TerminalConsole>(fd_in, fd_out, charset, no_color_requested());
}

std::unique_ptr<Console> with_transcript(std::unique_ptr<Console> play, int fd,
                                         const Charset& charset) {
  if (fd < 0) return play;
  return std::make_unique<TranscriptConsole>(std::move(play), fd, charset);
}

}  // namespace

bool terminal_is_dumb(const char* term) {
  return term == nullptr || *term == '\0' || std::string_view(term) == "dumb";
}

std::unique_ptr<Console> make_console(const Charset& charset, int transcript_fd) {
  const bool in_tty = ::isatty(STDIN_FILENO), out_tty = ::isatty(STDOUT_FILENO);
  if (in_tty && out_tty)
    return with_transcript(terminal_console(STDIN_FILENO, STDOUT_FILENO, charset), transcript_fd,
                           charset);
  if (in_tty) {
    // Standard output keeps the transcript; the game is played on the terminal itself. The
    // descriptor stays open to the end of the process, as the standard ones do.
    int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (tty >= 0) {
      auto play = with_transcript(terminal_console(tty, tty, charset), transcript_fd, charset);
      return with_transcript(std::move(play), STDOUT_FILENO, charset);
    }
  }
  return std::make_unique<StreamConsole>(STDIN_FILENO, STDOUT_FILENO, charset);
}

}  // namespace tindel
