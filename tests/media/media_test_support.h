#pragma once
// Stand-in players for the media tests: shell scripts in a temporary directory that record how
// they were started.
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "UTypes/media/external/player_command.h"

namespace tindel::media_test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // Writes an executable /bin/sh script with `body`; returns its path.
  std::string script(const std::string& name, const std::string& body) const;
  // Writes a plain file.
  std::string write(const std::string& name, const std::string& text) const;

 private:
  std::string path_;
};

// A player script: the n-th run (1, 2, ...) writes its arguments, one a line, to
// <dir>/<tag>.<n>.args and then its pid to <dir>/<tag>.<n>.pid, then runs `tail` (shell code).
std::string recorder_body(const TempDir& dir, const std::string& tag, const std::string& tail);

// What one run of a recorder wrote; pid 0 when the run did not happen in time.
struct Run {
  pid_t pid = 0;
  std::vector<std::string> args;
};
Run wait_for_run(const TempDir& dir, const std::string& tag, int n);

// Polls `condition` every few milliseconds; false if it did not come true within `timeout`.
bool wait_for(const std::function<bool()>& condition,
              std::chrono::milliseconds timeout = std::chrono::seconds(5));

bool file_exists(const std::string& file);
std::string read_file(const std::string& file);

// A child of this process that has ended but is not yet collected.
bool is_unreaped_zombie(pid_t pid);
// No process with this pid exists any more (ended and collected).
bool is_gone(pid_t pid);

PlayerSearch search_with(std::map<std::string, std::string> variables, std::string path,
                         std::vector<std::string> soundfonts = {});

}  // namespace tindel::media_test
