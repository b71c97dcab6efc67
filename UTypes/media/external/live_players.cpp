#include "UTypes/media/external/live_players.h"

#include <signal.h>

#include <atomic>

#include "UTypes/state/emergency_hooks.h"

namespace tindel {

namespace {

constexpr int kRoom = 16;
std::atomic<pid_t> groups[kRoom];
static_assert(std::atomic<pid_t>::is_always_lock_free, "read from a signal handler");

void install_hook_once() {
  static bool installed = false;
  if (installed) return;
  add_emergency_hook(&kill_tracked_players);
  installed = true;
}

}  // namespace

void track_player(pid_t pgid) {
  if (pgid <= 0) return;
  install_hook_once();
  for (auto& slot : groups) {
    pid_t empty = 0;
    if (slot.compare_exchange_strong(empty, pgid)) return;
  }
}

void untrack_player(pid_t pgid) {
  if (pgid <= 0) return;
  for (auto& slot : groups) {
    pid_t expected = pgid;
    if (slot.compare_exchange_strong(expected, 0)) return;
  }
}

void kill_tracked_players() {
  for (auto& slot : groups) {
    pid_t pgid = slot.load();
    if (pgid <= 0) continue;
    kill(-pgid, SIGKILL);
    kill(pgid, SIGKILL);  // the leader, should it have left its group
  }
}

}  // namespace tindel
