#pragma once
// Turns a decoded picture into the bytes that show it on the whole terminal, scaled to fit the
// window with its aspect kept and centred, in the style the terminal understands (chafa).
#include <string>

#include "UTypes/console/terminal/picture/jpeg_picture.h"
#include "UTypes/console/terminal/picture/picture_style.h"

namespace tindel {

struct PictureArea {
  int columns = 80;
  int rows = 25;
  int cell_width = 0;  // pixels of one cell, 0 when the terminal does not say
  int cell_height = 0;
};

// Clears the screen to black and draws the picture.
std::string draw_picture(const RgbaPicture& picture, const PictureStyle& style,
                         const PictureArea& area);

// Takes the picture off the screen (a graphics protocol's image is deleted, cells cleared), so
// that the screen can be drawn anew.
std::string erase_picture(const PictureStyle& style);

}  // namespace tindel
