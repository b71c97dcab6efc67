#include "UTypes/media/media_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tindel {

bool media_file_exists(const std::string& name) {
  int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);  // a folder is no picture
  ::close(fd);
  return regular;
}

}  // namespace tindel
