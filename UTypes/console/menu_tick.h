#pragma once
// The menu's pause between two passes, slept rather than spun.
namespace tindel {

constexpr int kMenuTickMs = 55;

// Sleeps kMenuTickMs milliseconds; a signal does not cut the pause short.
void sleep_menu_tick();

}  // namespace tindel
