// The stream console reading keys and lines from a pipe. The first byte chooses the
// charset, the second the order of the reads (one read per bit pair, over and over); the
// rest is what arrives on the pipe, ended.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "UTypes/charset/locale_charset.h"
#include "UTypes/console/stream/stream_console.h"
#include "UTypes/state/program_end.h"
#include "fuzz/fuzz_run.h"

namespace {

constexpr std::size_t kPipeRoom = 60000;  // what a pipe takes without a reader

int null_output() {
  static int fd = ::open("/dev/null", O_WRONLY);
  if (fd < 0) std::abort();
  return fd;
}

// One read of the kind `op` chooses; false once the input has nothing more to give.
bool read_once(tindel::StreamConsole& console, unsigned op) {
  switch (op) {
    case 0:
      console.readkey();
      return true;
    case 1:
      console.waitkey();  // ends with ProgramEnd when the input has ended
      return true;
    case 2: {
      auto line = console.readline();
      if (line) console.conwrite(*line, 7);
      return line.has_value();
    }
    default:
      console.conwrite("\r\n> ", 14);
      return true;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > kPipeRoom) return 0;
  int ends[2];
  if (::pipe(ends) != 0) std::abort();
  std::string_view bytes = tindel::fuzz::as_text(data + 2, size - 2);
  if (!bytes.empty() &&
      ::write(ends[1], bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
    std::abort();
  ::close(ends[1]);
  {
    const auto kind = static_cast<tindel::CharsetKind>(data[0] % 6);
    tindel::StreamConsole console(ends[0], null_output(), tindel::Charset(kind));
    try {
      // Every read takes at least one byte or meets the end, so a bounded count suffices.
      for (std::size_t i = 0; i < 2 * size + 8; ++i)
        if (!read_once(console, (data[1] >> (2 * (i % 4))) & 3u)) break;
    } catch (const tindel::ProgramEnd&) {
    }
  }
  ::close(ends[0]);
  return 0;
}
