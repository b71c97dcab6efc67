#pragma once
// Keeps a terminal showing a screen model while sending as little as possible: it remembers
// what the terminal shows (cells, cursor, colours) and sends only the cells that differ, so
// a menu redrawn every pass sends nothing while nothing changes.
#include <cstdint>
#include <string>
#include <vector>

#include "UTypes/charset/locale_charset.h"
#include "UTypes/console/screen_model.h"
#include "UTypes/console/terminal/ansi_colours.h"

namespace tindel {

class TerminalPainter {
 public:
  TerminalPainter(int width, int height, AnsiColours colours, const Charset& charset);

  // The terminal's content and state are unknown (resize, after a stop, after its own echo):
  // the next paint rewrites every cell.
  void forget();
  void resize(int width, int height);
  // Appends the bytes that make the terminal show model: changed cells, then the cursor.
  void paint(const ScreenModel& model, std::string& out);
  // Appends a scroll of the whole terminal by one line (a line feed on its bottom row), so
  // the top line goes into the terminal's scrollback.
  void scroll_up(std::string& out);
  // Appends clearing the terminal in attr's colours. The painter then knows every cell as a
  // blank in attr, so a page painted after it sends its text and not the blanks around it.
  void clear(std::uint8_t attr, std::string& out);
  // Appends the colour switch to attr if it is not in force.
  void use_colour(std::uint8_t attr, std::string& out);

 private:
  std::size_t index(int x, int y) const { return static_cast<std::size_t>(y * width_ + x); }
  void move_to(int x, int y, std::string& out);
  // Moves on along the row by writing the cells the terminal already shows, when that is
  // shorter than a cursor move; false when it is not.
  bool write_over_gap(const ScreenModel& model, int x, int y, std::string& out);
  // The cells from `from` on, as far as `count`, become blanks of attr in the terminal.
  void know_blanks(std::size_t from, std::size_t count, std::uint8_t attr);

  int width_;
  int height_;
  AnsiColours colours_;
  Charset charset_;
  std::vector<Cell> shown_;
  std::vector<char> known_;  // whether shown_ holds what the terminal really shows
  int cursor_x_ = -1;        // -1: unknown (after a write in the last column, or after an echo)
  int cursor_y_ = -1;
  int colour_ = -1;  // attribute in force, -1 unknown
};

}  // namespace tindel
