#pragma once
// Where a picture goes when there is no graphical session: a front end that can draw it itself
// (the terminal) offers this to the media.
#include <string>

namespace tindel {

class PictureSink {
 public:
  virtual ~PictureSink() = default;
  // Shows the picture file without waiting; returns one line for the media log telling how it
  // was shown or why not.
  virtual std::string show_picture(const std::string& file) = 0;
};

}  // namespace tindel
