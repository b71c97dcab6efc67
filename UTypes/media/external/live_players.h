#pragma once
// The process groups of tunes and sounds still playing, so that even a crash or Ctrl+C can
// silence them: the registry's emergency hook kills every group it holds.
#include <sys/types.h>

namespace tindel {

// Remembers a playing group (installs the emergency hook on first use). When the fixed room is
// full the group is simply not remembered.
void track_player(pid_t pgid);
// Forgets a group; must happen before its leader is reaped, while the id is still ours.
void untrack_player(pid_t pgid);
// Sends SIGKILL to every remembered group; async-signal-safe.
void kill_tracked_players();

}  // namespace tindel
