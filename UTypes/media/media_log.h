#pragma once
// The media log: when TINDEL_MEDIA_LOG names a file, one line is appended to it for every
// media event (what started or stopped, the soundfont, the audio driver, each library error),
// so that a player who hears or sees nothing can find out why. Without it nothing is written.
#include <string>
#include <string_view>

namespace tindel {

class MediaLog {
 public:
  // An empty file name: no log.
  explicit MediaLog(std::string file = {}) : file_(std::move(file)) {}
  // The log that TINDEL_MEDIA_LOG names.
  static MediaLog from_environment();

  bool enabled() const { return !file_.empty(); }
  // Appends "tindel media: " + text as one line (line breaks inside become blanks). The file is
  // opened and closed around each line, so nothing is lost however the program ends.
  void write(std::string_view text) const;

 private:
  std::string file_;
};

}  // namespace tindel
