#pragma once
// The console for pipes, files and CI (standard input or output is not a terminal): keys
// and lines come from the input bytes, and the output is the plain text a person would have
// read on the screen, each screen line once, in order, without escape sequences.
#include <cstdint>
#include <string>

#include "UTypes/console/stream/plain_console.h"

namespace tindel {

class StreamConsole : public PlainConsole {
 public:
  // The output and the input are in charset.
  StreamConsole(int in_fd, int out_fd, const Charset& charset);

  std::uint8_t pollbreak() override { return key::kNone; }
  std::optional<std::string> readline() override;
  // Keys in a stream were put there on purpose (a script): nothing is dropped.
  void discard_pending() override {}
};

}  // namespace tindel
