#include "UTypes/source/quest_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tindel {

namespace {

std::uint64_t next_version = 1;

bool identity_of(const struct stat& st, std::int64_t& size, std::int64_t& mtime_ns) {
  if (!S_ISREG(st.st_mode)) return false;
  size = static_cast<std::int64_t>(st.st_size);
#ifdef __APPLE__
  mtime_ns =
      static_cast<std::int64_t>(st.st_mtimespec.tv_sec) * 1000000000 + st.st_mtimespec.tv_nsec;
#else
  mtime_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#endif
  return true;
}

bool file_identity(const std::string& path, std::int64_t& size, std::int64_t& mtime_ns) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && identity_of(st, size, mtime_ns);
}

// Reads the whole file in as few reads as its size allows.
bool read_all(int fd, std::size_t expected, std::string& bytes) {
  bytes.resize(expected);
  std::size_t got = 0;
  for (;;) {
    if (got == bytes.size()) bytes.resize(bytes.size() + 65536);  // it grew while read
    ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return true;
}

// Line starts for returns from procedures; a CR without its LF makes the index unusable,
// since reading over it is an error that only a real read may raise.
void index_lines(QuestImage& image) {
  image.line_starts.push_back(0);
  for (std::size_t i = 0; i < image.end; ++i) {
    if (image.bytes[i] != '\r') continue;
    if (i + 1 >= image.end || image.bytes[i + 1] != '\n') {
      image.clean_line_ends = false;
      return;
    }
    image.line_starts.push_back(i + 2);
  }
}

// The quest ends at its physical end or at the first byte 26.
void finish_image(QuestImage& image) {
  std::size_t ctrl_z = image.bytes.find('\x1a');
  image.end = ctrl_z == std::string::npos ? image.bytes.size() : ctrl_z;
  image.version = next_version++;
  index_lines(image);
}

}  // namespace

std::shared_ptr<const QuestImage> load_quest_image(const std::string& path) {
  auto image = std::make_shared<QuestImage>();
  // Without waiting: a named pipe in place of the quest is refused, not waited on.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && identity_of(st, image->size, image->mtime_ns) &&
            read_all(fd, static_cast<std::size_t>(st.st_size), image->bytes);
  ::close(fd);
  if (!ok) return nullptr;
  finish_image(*image);
  return image;
}

std::shared_ptr<const QuestImage> quest_image_from_bytes(std::string bytes) {
  auto image = std::make_shared<QuestImage>();
  image->bytes = std::move(bytes);
  image->in_memory = true;
  finish_image(*image);
  return image;
}

bool quest_image_stale(const QuestImage& image, const std::string& path) {
  if (image.in_memory) return false;
  std::int64_t size = 0, mtime_ns = 0;
  if (!file_identity(path, size, mtime_ns)) return true;
  return size != image.size || mtime_ns != image.mtime_ns;
}

bool QuestFile::open(const std::string& path) {
  if (!image_ || quest_image_stale(*image_, path)) {
    image_ = load_quest_image(path);
    if (!image_) return false;
  }
  pos_ = 0;
  return true;
}

void QuestFile::open_image(std::shared_ptr<const QuestImage> image) {
  image_ = std::move(image);
  pos_ = 0;
}

}  // namespace tindel
