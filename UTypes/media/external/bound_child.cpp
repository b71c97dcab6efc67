#include "UTypes/media/external/bound_child.h"

#ifdef __linux__

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "UTypes/media/external/child_process.h"

namespace tindel {

namespace {

// The child's standard streams on /dev/null; every other descriptor closed but `keep`.
void detach_descriptors(int keep) {
  int in = ::open("/dev/null", O_RDONLY);
  int out = ::open("/dev/null", O_WRONLY);
  ::dup2(in, 0);
  ::dup2(out, 1);
  ::dup2(out, 2);
  ::close_range(3, static_cast<unsigned>(keep) - 1, 0);
  ::close_range(static_cast<unsigned>(keep) + 1, ~0U, 0);
}

// Between fork and exec only async-signal-safe calls: other threads (the audio) may hold locks.
[[noreturn]] void become_player(pid_t parent, const char* program, char* const* argv, int report) {
  ::setpgid(0, 0);
  struct sigaction deflt {};
  deflt.sa_handler = SIG_DFL;
  sigemptyset(&deflt.sa_mask);
  for (int sig : kPlayerDefaultSignals)
    ::sigaction(sig, &deflt, nullptr);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  // The parent may have died before the request took hold: then nobody would send the signal.
  if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) ::_exit(127);
  detach_descriptors(report);
  ::execv(program, argv);
  int error = errno;
  [[maybe_unused]] ssize_t told = ::write(report, &error, sizeof error);
  ::_exit(127);
}

// The child's report: true when it reached its program (the pipe closed by exec).
bool exec_succeeded(int report) {
  int error = 0;
  ssize_t n;
  while ((n = ::read(report, &error, sizeof error)) < 0 && errno == EINTR) {
  }
  return n == 0;
}

}  // namespace

pid_t spawn_bound_to_parent(const std::string& program, const std::vector<std::string>& args) {
  if (args.empty()) return 0;
  std::vector<char*> argv = exec_argv(args);  // made before fork: the child may not allocate
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return 0;
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) become_player(parent, program.c_str(), argv.data(), report[1]);
  ::close(report[1]);
  const bool started = pid > 0 && exec_succeeded(report[0]);
  ::close(report[0]);
  if (pid > 0 && !started) {
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  return started ? pid : 0;
}

}  // namespace tindel

#endif
