#include "UTypes/media/media_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tindel {

bool media_file_exists(const std::string& name) {
  if (name.empty() || name.find('\0') != std::string::npos) return false;
  // O_NONBLOCK: opening a pipe for reading would otherwise wait for a writer.
  int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);  // a folder is no picture
  ::close(fd);
  return regular;
}

}  // namespace tindel
