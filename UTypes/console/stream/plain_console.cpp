#include "UTypes/console/stream/plain_console.h"

#include "UTypes/console/menu_tick.h"
#include "UTypes/state/program_end.h"

namespace tindel {

PlainConsole::PlainConsole(int in_fd, int out_fd, const Charset& charset, bool collapse_crlf)
    : screen_(out_fd, charset),
      reader_(in_fd, KeyDecoderOptions{.charset = charset, .collapse_crlf = collapse_crlf}),
      charset_(charset) {}

std::uint8_t PlainConsole::readkey() {
  if (!reader_.ended()) reader_.fill(0);
  std::optional<std::uint8_t> key = reader_.take_key();
  if (!key) {
    screen_.send();  // polled while the program waits (a timed pause): the player may watch
    return key::kNone;
  }
  screen_.settle();
  return *key;
}

std::uint8_t PlainConsole::waitkey() {
  screen_.settle();
  for (;;) {
    if (std::optional<std::uint8_t> key = reader_.take_key()) return *key;
    if (reader_.ended() && reader_.empty())
      throw ProgramEnd{exit_status::kOk, "tindel: input ended"};
    reader_.fill(reader_.empty() ? -1 : reader_.sequence_wait_left());
  }
}

void PlainConsole::menutick() {
  screen_.send();
  sleep_menu_tick();
}

std::string PlainConsole::take_typed_line(const std::string& line) {
  std::string cp866 = charset_.typed_text(line);
  screen_.echo_line(cp866);
  return cp866;
}

}  // namespace tindel
