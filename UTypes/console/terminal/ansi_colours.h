#pragma once
// Console text attributes (Windows layout: bit 0 blue, bit 1 green, bit 2 red, bit 3
// intensity; the high nibble the same for the background) as ANSI SGR sequences.
#include <cstdint>
#include <string>

namespace tindel {

class AnsiColours {
 public:
  // no_color: the user asked for no colours (NO_COLOR). Cells on a background other than
  // black are then shown in reverse video, so the highlighted menu entry stays visible.
  explicit AnsiColours(bool no_color) : no_color_(no_color) {}

  // The complete SGR sequence that selects attr, starting from the terminal's defaults.
  std::string sgr(std::uint8_t attr) const;
  // Whether attr is drawn in reverse video (an erase does not take that over).
  bool reversed(std::uint8_t attr) const { return no_color_ && (attr >> 4) != 0; }
  // Whether an erase or a scrolled-in line with attr in force shows blanks of attr: terminals
  // fill them with the background in force, which is attr's own unless it is reverse video.
  bool erase_shows(std::uint8_t attr) const { return !reversed(attr); }

 private:
  bool no_color_;
};

}  // namespace tindel
