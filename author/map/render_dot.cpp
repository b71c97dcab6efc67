#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "author/map/map.h"

extern char** environ;

namespace tindel::author {

namespace {

// Writes all of text to fd; false when the reader went away.
bool write_all(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

int wait_for(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

}  // namespace

// Runs `dot -T<format> -o <output>` without a shell, the DOT text on its standard input.
bool render_dot(const std::string& dot, const std::string& format, const std::string& output,
                std::string& reason) {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) {
    reason = std::strerror(errno);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[0], STDIN_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[1]);
  std::string type = "-T" + format;
  std::vector<char*> argv = {const_cast<char*>("dot"), type.data(), const_cast<char*>("-o"),
                             const_cast<char*>(output.c_str()), nullptr};
  pid_t pid = 0;
  int spawned = posix_spawnp(&pid, "dot", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe_fds[0]);
  if (spawned != 0) {
    ::close(pipe_fds[1]);
    reason = "cannot run Graphviz's dot (Debian package graphviz): " +
             std::string(std::strerror(spawned));
    return false;
  }
  auto old_pipe = std::signal(SIGPIPE, SIG_IGN);  // a dot that dies early must not kill us
  bool written = write_all(pipe_fds[1], dot);
  ::close(pipe_fds[1]);
  int status = wait_for(pid);
  std::signal(SIGPIPE, old_pipe);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && written) return true;
  reason = WIFEXITED(status) && WEXITSTATUS(status) == 127
               ? "cannot run Graphviz's dot (Debian package graphviz)"
               : "Graphviz's dot failed";
  return false;
}

}  // namespace tindel::author
