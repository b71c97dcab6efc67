#pragma once
// Start-up, the command line, the run modes and the main loop.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "UTypes/charset/locale_charset.h"
#include "UTypes/state/interpreter_state.h"

namespace tindel {

class Console;
class MediaPlayer;

struct RunResult {
  int status = 0;
  std::string note;  // a line for stderr, or empty
};

struct Platform {
  Console& console;
  MediaPlayer& media;
  std::optional<std::uint32_t> seed;     // the random generator's seed; the clock when absent
  Charset charset{CharsetKind::kCp866};  // the locale's: parameters and media file names
};

// Runs the program with its command-line parameters (without the program name) until the
// quest or the check ends.
RunResult run_program(InterpreterState& s, const std::vector<std::string>& args, Platform platform);

}  // namespace tindel
