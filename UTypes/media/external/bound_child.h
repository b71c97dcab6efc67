#pragma once
// Linux: a player started so that the kernel ends it when this program ends, however it ends
// (SIGKILL included, which leaves no chance to stop it otherwise).
#include <sys/types.h>

#include <string>
#include <vector>

namespace tindel {

#ifdef __linux__
// As spawn_detached (standard input from /dev/null, output discarded, a process group of its
// own, the ordinary signals at their default), and the child receives SIGKILL when the thread
// that started it ends. Returns the pid, or 0 when the program could not be started.
pid_t spawn_bound_to_parent(const std::string& program, const std::vector<std::string>& args);
#endif

}  // namespace tindel
