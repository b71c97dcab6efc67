#pragma once
// Starting and stopping players as child processes, each the leader of its own process group.
#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace tindel {

// The signals a player should treat the ordinary way even if this program ignores or catches
// them (the console handles Ctrl+C itself).
inline constexpr int kPlayerDefaultSignals[] = {SIGINT,  SIGQUIT, SIGTERM, SIGHUP, SIGPIPE,
                                                SIGTSTP, SIGTTIN, SIGTTOU, SIGCHLD};

// The argument vector for exec: pointers into args (which must outlive it), null-terminated.
std::vector<char*> exec_argv(const std::vector<std::string>& args);

// Whether a child is to end with this program: a tune or a sound does, a picture viewer (the
// player's own window) does not. Where the system cannot tie a child to its parent (other than
// Linux), only an ending this program sees stops it.
enum class ChildLifetime { kEndsWithUs, kOutlivesUs };

// Starts `program` with `args` (argv, the name first) without a shell and without waiting:
// standard input from /dev/null, output and errors discarded, in a new process group whose id
// is the child's pid. Returns the pid, or 0 when the program could not be started.
pid_t spawn_detached(const std::string& program, const std::vector<std::string>& args,
                     ChildLifetime lifetime);

enum class ChildState {
  kRunning,
  kEnded,  // ended, not yet reaped
  kGone,   // reaped, or never our child
};
ChildState child_state(pid_t pid);

// True once the child has ended, or when it is not (or no longer) our child. An ended child is
// left to reap(), so its pid and process group id cannot be reused in between.
bool has_ended(pid_t pid);

// Collects a child that has ended; returns at once for one that still runs.
void reap(pid_t pid);

// Stops the process group led by child `pid`: SIGTERM, and after the leader has ended or
// `grace` has passed, SIGKILL for whatever is left. Returns once the leader has ended (not yet
// reaped); a leader already reaped is left alone, its pid may name someone else by now.
void end_group(pid_t pid, std::chrono::milliseconds grace);

}  // namespace tindel
