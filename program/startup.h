#pragma once
// Start-up, the command line, the run modes and the main loop.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "UTypes/charset/locale_charset.h"
#include "UTypes/moments/moment.h"
#include "UTypes/state/interpreter_state.h"

namespace tindel {

class Console;
class MediaPlayer;

struct RunResult {
  int status = 0;
  std::string note;  // a line for stderr, or empty
};

// Back, restart and continuing a game later, as the player's command line asks.
struct MomentOptions {
  bool back_keys = false;       // Backspace goes back a menu, Ctrl+R restarts
  bool keep_file = false;       // the last moment kept in the quest's file of moments
  bool continue_game = false;   // start at the moment of that file
  bool offer_continue = false;  // ask on a title line whether to start there
  std::string file = {};        // the file of moments; empty: the one of the state folder
  // Back's history handed on (MomentHistory::to_bytes): the game starts at its newest
  // moment, and Back goes on through the ones before. Empty: none.
  std::string history = {};
};

struct Platform {
  Console& console;
  MediaPlayer& media;
  std::optional<std::uint32_t> seed;     // the random generator's seed; the clock when absent
  Charset charset{CharsetKind::kCp866};  // the locale's: parameters and media file names
  bool accessible = false;  // the accessible mode, for screen readers and braille displays
  MomentOptions moments{};
};

// Why the file of moments at moments_path cannot continue the quest that the parameters
// (mode, code page, quest) name, read as a game would read it: a few words, or empty when it
// can or when there is no such file. For a front end that offers to continue beforehand.
std::string continue_problem(const std::vector<std::string>& args, const std::string& moments_path);

// Runs the program with its command-line parameters (without the program name) until the
// quest or the check ends.
RunResult run_program(InterpreterState& s, const std::vector<std::string>& args, Platform platform);

}  // namespace tindel
