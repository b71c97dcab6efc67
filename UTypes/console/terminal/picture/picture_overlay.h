#pragma once
// A picture over the whole terminal while the quest goes on beneath it in the screen model.
// The terminal front end asks it to show, redraw (after a resize or a stop) and close.
#include <functional>
#include <optional>
#include <string>

#include "UTypes/console/terminal/picture/jpeg_picture.h"
#include "UTypes/console/terminal/picture/picture_drawing.h"
#include "UTypes/console/terminal/picture/picture_style.h"

namespace tindel {

class PictureOverlay {
 public:
  explicit PictureOverlay(PictureStyle style) : style_(std::move(style)) {}
  // The style found at the first picture, since finding it loads the picture libraries.
  explicit PictureOverlay(std::function<PictureStyle()> find_style)
      : find_style_(std::move(find_style)) {}

  bool showing() const { return picture_.has_value(); }
  // Decodes the file and appends the bytes that show it; a later picture replaces the one up.
  // Returns the line for the media log. A file that does not decode leaves the screen as it is.
  std::string show(const std::string& file, const PictureArea& area, std::string& out);
  // Draws the picture up again, for a terminal of the new area.
  void redraw(const PictureArea& area, std::string& out) const;
  // Appends the bytes that take the picture away; the caller then paints the screen anew.
  void close(std::string& out);

 private:
  std::function<PictureStyle()> find_style_;
  std::optional<PictureStyle> style_;  // known once a picture has been shown
  std::optional<RgbaPicture> picture_;
};

}  // namespace tindel
