#pragma once
// The quest's bytes, read once into memory, with a cursor over them. A jump repositions
// the cursor instead of reading the disk again. The file on disk is looked at again only
// after recheck_disk() (the menu calls it when the player chooses), so a jump, a call or a
// return makes no system call at all.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tindel {

struct QuestImage {
  std::string bytes;       // the whole file
  std::size_t end = 0;     // the quest ends at the physical end or at the first byte 26
  std::int64_t size = -1;  // identity on disk, to notice a changed file
  std::int64_t mtime_ns = -1;
  std::uint64_t version = 0;  // distinct for every load
  // Offsets of the first byte of every line (after each CR LF); line n starts at
  // line_starts[n - 1]. Valid only when clean_line_ends (no CR without its LF, and a quest
  // below 4 GB, whose offsets fit the four bytes kept per line).
  std::vector<std::uint32_t> line_starts;
  bool clean_line_ends = true;
  bool in_memory = false;  // made from bytes, not read from a file: never stale
};

// Loads path into a fresh image; nullptr when it cannot be opened or read.
std::shared_ptr<const QuestImage> load_quest_image(const std::string& path);
// An image of bytes held in memory (the authors' tools check text that is not on disk).
std::shared_ptr<const QuestImage> quest_image_from_bytes(std::string bytes);
// True when the file on disk is no longer the one the image was read from.
bool quest_image_stale(const QuestImage& image, const std::string& path);

class QuestFile {
 public:
  // Opens on path at its start: the image already loaded, or, when none is or when a
  // recheck is pending and the file changed, one read from disk. False when unreadable.
  bool open(const std::string& path);
  // The next open() looks at the file on disk (one stat) and reads it again if it changed.
  void recheck_disk() { recheck_ = true; }
  // Shares an image that is already loaded (the auxiliary reader over the quest).
  void open_image(std::shared_ptr<const QuestImage> image);
  void close() {
    image_.reset();
    pos_ = 0;
  }
  bool is_open() const { return image_ != nullptr; }
  bool at_end() const { return !image_ || pos_ >= image_->end; }
  // Next raw byte; call only when !at_end().
  std::uint8_t read_byte() { return static_cast<std::uint8_t>(image_->bytes[pos_++]); }
  std::size_t pos() const { return pos_; }
  void seek(std::size_t pos) { pos_ = pos; }
  const std::shared_ptr<const QuestImage>& image() const { return image_; }

 private:
  std::shared_ptr<const QuestImage> image_;
  std::size_t pos_ = 0;
  bool recheck_ = false;
};

}  // namespace tindel
