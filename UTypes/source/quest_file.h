#pragma once
// The quest's bytes, read once into memory, with a cursor over them. A jump repositions
// the cursor instead of reading the disk again. The file on disk is looked at again only
// after recheck_disk() (the menu calls it when the player chooses), so a jump, a call or a
// return makes no system call at all.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "UTypes/source/quest_text.h"

namespace tindel {

struct QuestImage {
  std::string bytes;       // the whole file
  std::size_t end = 0;     // the quest ends at the physical end or at the first byte 26
  std::int64_t size = -1;  // identity on disk, to notice a changed file
  std::int64_t mtime_ns = -1;
  std::uint64_t version = 0;  // distinct for every load
  // No CR without its LF, and a quest below 4 GB, whose offsets fit the four bytes kept per
  // line: only then is line_starts() of use.
  bool clean_line_ends = true;
  std::int32_t lone_lf_line = 0;  // the line of the first LF without its CR, 0 when none
  bool in_memory = false;         // made from bytes, not read from a file: never stale

  // Offsets of the first byte of every line (after each CR LF); line n starts at
  // line_starts()[n - 1]. Made at the first call: a return to a line without its mark needs
  // it, a quest that never makes one spares the time and four bytes a line. Empty when the
  // line ends are not clean.
  const std::vector<std::uint32_t>& line_starts() const;

 private:
  mutable std::once_flag line_starts_made_;
  mutable std::vector<std::uint32_t> line_starts_;
};

// Loads path into a fresh image; nullptr when it cannot be opened or read. The bytes are
// brought to CP866 with CR LF line ends first (quest_text.h).
std::shared_ptr<const QuestImage> load_quest_image(const std::string& path,
                                                   QuestTextForm form = {});
// An image of bytes held in memory (the authors' tools check text that is not on disk).
std::shared_ptr<const QuestImage> quest_image_from_bytes(std::string bytes,
                                                         QuestTextForm form = {});
// True when the file on disk is no longer the one the image was read from.
bool quest_image_stale(const QuestImage& image, const std::string& path);

class QuestFile {
 public:
  // Opens on path at its start: the image already loaded, or, when none is or when a
  // recheck is pending and the file changed, one read from disk. False when unreadable.
  bool open(const std::string& path);
  // How the file's text is stored; applies from the next load.
  void set_text_form(QuestTextForm form) { form_ = form; }
  // The next open() looks at the file on disk (one stat) and reads it again if it changed.
  void recheck_disk() { recheck_ = true; }
  // Shares an image that is already loaded (the auxiliary reader over the quest).
  void open_image(std::shared_ptr<const QuestImage> image);
  void close() { open_image(nullptr); }
  bool is_open() const { return image_ != nullptr; }
  bool at_end() const { return pos_ >= end_; }
  // Next raw byte; call only when !at_end().
  std::uint8_t read_byte() { return data_[pos_++]; }
  std::size_t pos() const { return pos_; }
  void seek(std::size_t pos) { pos_ = pos; }
  const std::shared_ptr<const QuestImage>& image() const { return image_; }
  // The image's bytes up to the end of the quest, for loops that read many at once.
  const std::uint8_t* data() const { return data_; }
  std::size_t end() const { return end_; }

 private:
  std::shared_ptr<const QuestImage> image_;
  const std::uint8_t* data_ = nullptr;  // the image's bytes, kept at hand for read_byte
  std::size_t end_ = 0;                 // the image's end, 0 when closed
  std::size_t pos_ = 0;
  QuestTextForm form_;
  bool recheck_ = false;
};

}  // namespace tindel
