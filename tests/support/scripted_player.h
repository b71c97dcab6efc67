#pragma once
// Short input scripts for quest runs: what the player types.
#include "UTypes/console/scripted/scripted_console.h"

namespace tindel::testing {

// Escape at the first menu, then Enter at "<press enter>".
inline void quit_at_menu(ScriptedConsole& console) {
  console.add_key(27);
  console.add_line("");
}

// Enter at the first menu (its first button), Escape at the next one, then Enter.
inline void choose_then_quit(ScriptedConsole& console) {
  console.add_keys({13, 27});
  console.add_line("");
}

}  // namespace tindel::testing
