#pragma once
// Keeps a terminal showing a screen model while sending as little as possible: it remembers
// what the terminal shows (cells, cursor, colours) and sends only the cells that differ, so
// a menu redrawn every pass sends nothing while nothing changes.
#include <cstdint>
#include <optional>
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
  // With a reading row (a screen reader follows the cursor there), that row's cells go last
  // and the cursor ends at its start instead of at the model's cursor.
  void paint(const ScreenModel& model, std::string& out,
             std::optional<int> reading_row = std::nullopt);
  // Appends a scroll of the whole terminal by one line (a line feed on its bottom row), so
  // the top line goes into the terminal's scrollback.
  void scroll_up(std::string& out);
  // Appends clearing the terminal in attr's colours. The painter then knows every cell as a
  // blank in attr, so a page painted after it sends its text and not the blanks around it.
  void clear(std::uint8_t attr, std::string& out);
  // Appends the colour switch to the look of cell if it is not in force.
  void use_colour(const Cell& cell, std::string& out);

 private:
  // A cell's colours and highlight as one number, as colour_ keeps them.
  static int look_of(const Cell& cell) { return cell.attr | (cell.highlighted ? 0x100 : 0); }
  void paint_row(const ScreenModel& model, int y, std::string& out);
  std::size_t index(int x, int y) const { return static_cast<std::size_t>(y * width_ + x); }
  void move_to(int x, int y, std::string& out);
  // Moves on along the row by writing the cells the terminal already shows, when that is
  // shorter than a cursor move; false when it is not.
  bool write_over_gap(const ScreenModel& model, int x, int y, std::string& out);
  // The cells from `from` on, as far as `count`, become blanks in the colours in force, look.
  void know_blanks(std::size_t from, std::size_t count, const Cell& look);

  int width_;
  int height_;
  AnsiColours colours_;
  Charset charset_;
  std::vector<Cell> shown_;
  std::vector<char> known_;  // whether shown_ holds what the terminal really shows
  int cursor_x_ = -1;        // -1: unknown (after a write in the last column, or after an echo)
  int cursor_y_ = -1;
  int colour_ = -1;  // look_of the colours in force, -1 unknown
};

}  // namespace tindel
