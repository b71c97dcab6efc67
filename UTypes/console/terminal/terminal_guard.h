#pragma once
// Gives the terminal back as the program found it, however the program ends: on a normal
// end, and through the emergency hooks that the ending signals run (exit_signals.h). Also the
// flags for the signals a full-screen program must react to (resize, stop and continue).
// Handlers only set flags, restore settings and write prepared bytes.
#include <cstddef>
#include <string_view>

namespace tindel {

// Set by SIGWINCH; reading clears it.
bool take_resize_signal();
// Set when the program was continued after a stop; reading clears it.
bool take_resume_signal();

// Owns the settings of one terminal for the run. One guard at a time.
class TerminalGuard {
 public:
  // Saves the settings of the terminal on in_fd, registers the emergency hook that restores
  // them and writes the farewell bytes to out_fd, and installs every handler above plus
  // SIGWINCH and SIGTSTP/SIGCONT (the terminal is given back while the program is stopped).
  TerminalGuard(int in_fd, int out_fd);
  ~TerminalGuard() { restore(); }
  TerminalGuard(const TerminalGuard&) = delete;
  TerminalGuard& operator=(const TerminalGuard&) = delete;

  // Whether in_fd was a terminal whose settings could be read.
  bool usable() const { return usable_; }
  // Keys one by one, unechoed, Ctrl+C still a signal.
  void enter_raw();
  // The terminal's ordinary line-edited, echoing input (for reading a whole line).
  void enter_line_mode(bool utf8);
  // Bytes written when the terminal is given back (colours reset, cursor shown, title back,
  // cursor below the output). Longer text than the room is cut.
  void set_farewell(std::string_view bytes);
  // Original settings and the farewell bytes; once, later calls do nothing.
  void restore();

 private:
  bool usable_ = false;
};

}  // namespace tindel
