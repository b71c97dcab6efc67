#pragma once
// Back (Backspace) and restart (Ctrl+R) at a menu that waits at call depth 0. The statement
// that waits keeps the menu's moment first; a key that goes back restores the moment before
// it and throws ReturnToMoment, which the main loop catches to wait at that menu again; a
// confirmed restart throws RestartQuest, which start-up catches to begin the quest anew.
#include <cstdint>

#include "UTypes/moments/moment.h"
#include "UTypes/state/interpreter_state.h"

namespace tindel {

namespace key {
constexpr std::uint8_t kCtrlR = 18;
}

struct ReturnToMoment {
  MenuWait wait;
};
struct RestartQuest {};

// Keeps the moment of the menu about to wait, when Back is on and the menu is one it serves.
void keep_moment(InterpreterState& s, MenuWait wait);

// A key of such a menu: Backspace goes back (nothing at the first moment), Ctrl+R asks on
// the bottom row and restarts after Enter. Other keys, and every key of another menu, do
// nothing here.
void moment_key(InterpreterState& s, std::uint8_t key);

}  // namespace tindel
