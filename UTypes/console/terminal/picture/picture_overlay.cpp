#include "UTypes/console/terminal/picture/picture_overlay.h"

#include "UTypes/console/terminal/picture/picture_api.h"

namespace tindel {

std::string PictureOverlay::show(const std::string& file, const PictureArea& area,
                                 std::string& out) {
  std::string error;
  if (chafa_api(error) == nullptr)
    return "picture " + file + " not shown: chafa did not load: " + error;
  std::optional<RgbaPicture> picture = decode_jpeg_file(file, error);
  if (!picture) return "picture " + file + " not shown: " + error;
  if (!style_) style_ = find_style_();
  if (showing()) out += erase_picture(*style_);
  picture_ = std::move(picture);
  redraw(area, out);
  return "picture " + file + " shown in the terminal (" + std::to_string(picture_->width) + "x" +
         std::to_string(picture_->height) + ", " + style_->describe() + ")";
}

void PictureOverlay::redraw(const PictureArea& area, std::string& out) const {
  if (!picture_) return;
  out += "\x1b[?25l";  // no cursor blinking in the picture
  out += draw_picture(*picture_, *style_, area);
}

void PictureOverlay::close(std::string& out) {
  if (!picture_) return;
  out += erase_picture(*style_);
  picture_.reset();
}

}  // namespace tindel
