#pragma once
// Console text attributes (Windows layout: bit 0 blue, bit 1 green, bit 2 red, bit 3
// intensity; the high nibble the same for the background) as ANSI SGR sequences.
#include <cstdint>
#include <string>

namespace tindel {

class AnsiColours {
 public:
  // no_color: the user asked for no colours (NO_COLOR). Every cell is then shown in the
  // terminal's own colours, and the highlighted menu entry in reverse video, whatever
  // colours the quest gave it.
  explicit AnsiColours(bool no_color) : no_color_(no_color) {}

  // The complete SGR sequence that selects attr, starting from the terminal's defaults;
  // highlighted: the cell belongs to the highlighted menu entry.
  std::string sgr(std::uint8_t attr, bool highlighted = false) const;
  // Whether an erase or a scrolled-in line with these colours in force shows blanks of attr:
  // terminals fill them with the background in force, which is attr's own unless it is the
  // reverse video of a highlight.
  bool erase_shows(bool highlighted) const { return !(no_color_ && highlighted); }

 private:
  bool no_color_;
};

}  // namespace tindel
