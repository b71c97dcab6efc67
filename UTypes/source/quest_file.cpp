#include "UTypes/source/quest_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "UTypes/source/line_end_count.h"

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

// Asks the kernel to map the pages a large quest is about to fill in one call rather than one
// fault at a time: on a virtual machine a fault can cost ten microseconds, a third of the
// start-up with a 4 MB quest. Only a hint; where it is not known nothing changes.
void prefault(char* data, std::size_t size) {
#ifdef MADV_POPULATE_WRITE
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  if (size < 64 * page) return;
  auto from = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
  auto to = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(page - 1);
  ::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
  (void)data;
  (void)size;
#endif
}

// Reads the whole file in as few reads as its size allows. One byte more than expected is
// room for the read that sees the end, so a file that keeps its size is never copied; and
// room for a CR before every byte lets Unix line ends become CR LF in place. Room that is
// never written costs address space only, not memory.
bool read_all(int fd, std::size_t expected, std::string& bytes) {
  bytes.reserve(expected < bytes.max_size() / 2 ? 2 * expected + 1 : expected + 1);
  prefault(bytes.data(), expected + 1);
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

// Whether every CR has its LF, and where the first LF without its CR stands (looked for only
// when the counts say there is one, since that takes a slower walk).
void check_line_ends(QuestImage& image) {
  LineEndCounts counts = count_line_ends(std::string_view(image.bytes).substr(0, image.end));
  image.clean_line_ends = image.end < UINT32_MAX && counts.crs == counts.pairs;
  image.lone_lf_line = counts.lfs == counts.pairs ? 0 : first_lone_lf_line(image.bytes, image.end);
}

// The bytes as the scanner reads them: any conversion of the file's form goes first, before
// the end and the lines are found.
void finish_image(QuestImage& image, QuestTextForm form) {
  normalize_quest_text(image.bytes, form);
  find_quest_end(image);
  check_line_ends(image);
  image.version = next_version++;
}

}  // namespace

std::shared_ptr<const QuestImage> load_quest_image(const std::string& path, QuestTextForm form) {
  auto image = std::make_shared<QuestImage>();
  if (!read_quest_bytes(path, *image)) return nullptr;
  finish_image(*image, form);
  return image;
}

std::shared_ptr<const QuestImage> quest_image_from_bytes(std::string bytes, QuestTextForm form) {
  auto image = std::make_shared<QuestImage>();
  image->bytes = std::move(bytes);
  image->in_memory = true;
  finish_image(*image, form);
  return image;
}

bool quest_image_stale(const QuestImage& image, const std::string& path) {
  if (image.in_memory) return false;
  std::int64_t size = 0, mtime_ns = 0;
  if (!file_identity(path, size, mtime_ns)) return true;
  return size != image.size || mtime_ns != image.mtime_ns;
}

const std::vector<std::uint32_t>& QuestImage::line_starts() const {
  std::call_once(line_starts_made_, [this] {
    if (!clean_line_ends) return;
    const char* data = bytes.data();
    const char* stop = data + end;
    line_starts_.reserve(static_cast<std::size_t>(std::count(data, stop, '\r')) + 1);
    line_starts_.push_back(0);
    for (const char* p = data;
         (p = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p))));
         ++p)
      line_starts_.push_back(static_cast<std::uint32_t>(p - data + 2));
  });
  return line_starts_;
}

bool QuestFile::open(const std::string& path) {
  bool reload = !image_ || (recheck_ && quest_image_stale(*image_, path));
  recheck_ = false;
  if (reload) {
    open_image(load_quest_image(path, form_));
    return image_ != nullptr;
  }
  pos_ = 0;
  return true;
}

void QuestFile::open_image(std::shared_ptr<const QuestImage> image) {
  image_ = std::move(image);
  data_ = image_ ? reinterpret_cast<const std::uint8_t*>(image_->bytes.data()) : nullptr;
  end_ = image_ ? image_->end : 0;
  pos_ = 0;
}

}  // namespace tindel
