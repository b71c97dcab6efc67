#include "UTypes/console/terminal/ansi_colours.h"

namespace tindel {

namespace {

// Windows orders the colour bits blue, green, red; ANSI orders them red, green, blue.
int ansi_index(int windows_colour) {
  return ((windows_colour & 1) << 2) | (windows_colour & 2) | ((windows_colour & 4) >> 2);
}

int foreground_code(int colour) {
  return ((colour & 8) ? 90 : 30) + ansi_index(colour);
}
int background_code(int colour) {
  return ((colour & 8) ? 100 : 40) + ansi_index(colour);
}

}  // namespace

std::string AnsiColours::sgr(std::uint8_t attr, bool highlighted) const {
  if (no_color_) return highlighted ? "\x1b[0;7m" : "\x1b[0m";
  return "\x1b[0;" + std::to_string(foreground_code(attr & 0x0F)) + ";" +
         std::to_string(background_code(attr >> 4)) + "m";
}

}  // namespace tindel
