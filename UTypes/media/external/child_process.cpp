#include "UTypes/media/external/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "UTypes/media/external/bound_child.h"

extern char** environ;

namespace tindel {

namespace {

class SpawnSetup {
 public:
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions_);
    posix_spawnattr_init(&attr_);
    posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions_, 1, 2);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    // The quest, the log and the terminal stay ours: a viewer must not hold them open.
    posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
#endif
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attr_, &signals);
    for (int sig : kPlayerDefaultSignals)
      sigaddset(&signals, sig);
    posix_spawnattr_setsigdefault(&attr_, &signals);
    posix_spawnattr_setpgroup(&attr_, 0);
    posix_spawnattr_setflags(
        &attr_, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnSetup() {
    posix_spawnattr_destroy(&attr_);
    posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  const posix_spawn_file_actions_t* actions() const {
    return &actions_;
  }
  const posix_spawnattr_t* attr() const {
    return &attr_;
  }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attr_;
};

// The group, and the leader itself in case it has left the group it was started in.
void signal_group(pid_t pid, int sig) {
  kill(-pid, sig);
  kill(pid, sig);
}

}  // namespace

std::vector<char*> exec_argv(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const auto& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  return argv;
}

pid_t spawn_detached(const std::string& program, const std::vector<std::string>& args,
                     ChildLifetime lifetime) {
#ifdef __linux__
  if (lifetime == ChildLifetime::kEndsWithUs) return spawn_bound_to_parent(program, args);
#else
  (void)lifetime;
#endif
  if (args.empty()) return 0;
  std::vector<char*> argv = exec_argv(args);
  SpawnSetup setup;
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), setup.actions(), setup.attr(), argv.data(), environ) != 0)
    return 0;
  return pid;
}

ChildState child_state(pid_t pid) {
  siginfo_t info{};
  for (;;) {
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0)
      return info.si_pid != 0 ? ChildState::kEnded : ChildState::kRunning;
    if (errno != EINTR) return ChildState::kGone;
  }
}

bool has_ended(pid_t pid) {
  return child_state(pid) != ChildState::kRunning;
}

void reap(pid_t pid) {
  while (waitpid(pid, nullptr, WNOHANG) < 0 && errno == EINTR) {
  }
}

void end_group(pid_t pid, std::chrono::milliseconds grace) {
  // Only while the leader is unreaped does its pid still name our child.
  if (child_state(pid) == ChildState::kGone) return;
  signal_group(pid, SIGTERM);
  signal_group(pid, SIGCONT);  // a stopped player would not see the SIGTERM
  constexpr auto kStep = std::chrono::milliseconds(5);
  for (auto waited = std::chrono::milliseconds(0); waited < grace && !has_ended(pid);
       waited += kStep)
    std::this_thread::sleep_for(kStep);
  signal_group(pid, SIGKILL);  // the leader, if it lingers, and whatever it left behind
  siginfo_t info{};
  while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
  }
}

}  // namespace tindel
