#pragma once
// A generated quest in a temporary file, removed when the benchmark ends.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

namespace tindel::bench {

class QuestOnDisk {
 public:
  explicit QuestOnDisk(const std::string& text) {
    char pattern[] = "/tmp/tindel-bench-XXXXXX";
    int fd = ::mkstemp(pattern);
    if (fd < 0) throw std::runtime_error("mkstemp failed");
    ::close(fd);
    path_ = pattern;
    std::ofstream(path_, std::ios::binary) << text;
  }
  ~QuestOnDisk() { std::remove(path_.c_str()); }
  QuestOnDisk(const QuestOnDisk&) = delete;
  QuestOnDisk& operator=(const QuestOnDisk&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace tindel::bench
