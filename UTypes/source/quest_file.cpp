#include "UTypes/source/quest_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

// Reads the whole file in as few reads as its size allows. One byte more than expected is
// room for the read that sees the end, so a file that keeps its size is never copied.
bool read_all(int fd, std::size_t expected, std::string& bytes) {
  bytes.resize(expected + 1);
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

// The file's bytes and its identity on disk; false when it cannot be opened or read.
bool read_quest_bytes(const std::string& path, QuestImage& image) {
  // Without waiting: a named pipe in place of the quest is refused, not waited on.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && identity_of(st, image.size, image.mtime_ns) &&
            read_all(fd, static_cast<std::size_t>(st.st_size), image.bytes);
  ::close(fd);
  return ok;
}

// The quest ends at the physical end or at its first byte 26.
void find_quest_end(QuestImage& image) {
  const void* ctrl_z = std::memchr(image.bytes.data(), '\x1a', image.bytes.size());
  image.end = ctrl_z
                  ? static_cast<std::size_t>(static_cast<const char*>(ctrl_z) - image.bytes.data())
                  : image.bytes.size();
}

// Calls at(i) for the offset of every CR before the quest's end, in order, at memchr speed.
template <typename At>
void each_cr(const QuestImage& image, At at) {
  const char* bytes = image.bytes.data();
  const char* end = bytes + image.end;
  for (const char* p = bytes;
       (p = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)))); ++p)
    if (!at(static_cast<std::size_t>(p - bytes))) return;
}

// Line starts for returns from procedures; a CR without its LF makes the index unusable,
// since reading over it is an error that only a real read may raise. The lines are counted
// first, so the index takes exactly four bytes a line and is never copied while it grows.
void index_lines(QuestImage& image) {
  if (image.end >= UINT32_MAX) {
    image.clean_line_ends = false;
    return;
  }
  std::size_t lines = 1;
  each_cr(image, [&](std::size_t i) {
    bool paired = i + 1 < image.end && image.bytes[i + 1] == '\n';
    lines += paired;
    return image.clean_line_ends = paired;
  });
  if (!image.clean_line_ends) return;
  image.line_starts.reserve(lines);
  image.line_starts.push_back(0);
  each_cr(image, [&](std::size_t i) {
    image.line_starts.push_back(static_cast<std::uint32_t>(i + 2));
    return true;
  });
}

// The bytes as the scanner reads them: any conversion of the file's form goes first, before
// the end and the lines are found.
void finish_image(QuestImage& image) {
  find_quest_end(image);
  index_lines(image);
  image.version = next_version++;
}

}  // namespace

std::shared_ptr<const QuestImage> load_quest_image(const std::string& path) {
  auto image = std::make_shared<QuestImage>();
  if (!read_quest_bytes(path, *image)) return nullptr;
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
  bool reload = !image_ || (recheck_ && quest_image_stale(*image_, path));
  recheck_ = false;
  if (reload) {
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
