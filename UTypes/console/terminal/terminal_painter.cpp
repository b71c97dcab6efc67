#include "UTypes/console/terminal/terminal_painter.h"

#include <algorithm>

#include "UTypes/charset/cp866.h"

namespace tindel {

TerminalPainter::TerminalPainter(int width, int height, AnsiColours colours, const Charset& charset)
    : width_(screen_side(width)),
      height_(screen_side(height)),
      colours_(colours),
      charset_(charset) {
  resize(width, height);
}

void TerminalPainter::forget() {
  std::fill(known_.begin(), known_.end(), 0);
  cursor_x_ = cursor_y_ = -1;
  colour_ = -1;
}

void TerminalPainter::resize(int width, int height) {
  width_ = screen_side(width);
  height_ = screen_side(height);
  shown_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), Cell{});
  known_.assign(shown_.size(), 0);
  forget();
}

void TerminalPainter::move_to(int x, int y, std::string& out) {
  if (x == cursor_x_ && y == cursor_y_) return;
  out += "\x1b[" + std::to_string(y + 1) + ";" + std::to_string(x + 1) + "H";
  cursor_x_ = x;
  cursor_y_ = y;
}

// The longest run of cells written over instead of a move: a move takes six bytes or more.
constexpr int kLongestGap = 5;

bool TerminalPainter::write_over_gap(const ScreenModel& model, int x, int y, std::string& out) {
  if (y != cursor_y_ || cursor_x_ < 0 || x <= cursor_x_ || x - cursor_x_ > kLongestGap)
    return false;
  for (int gap = cursor_x_; gap < x; ++gap) {
    const Cell& cell = model.at(gap, y);
    if (cell.attr != colour_ || cell.ch >= 0x80) return false;  // one byte each, no colour
  }
  for (int gap = cursor_x_; gap < x; ++gap)
    out += static_cast<char>(model.at(gap, y).ch);
  cursor_x_ = x;
  return true;
}

void TerminalPainter::know_blanks(std::size_t from, std::size_t count, std::uint8_t attr) {
  const bool shown = colours_.erase_shows(attr);
  std::fill_n(shown_.begin() + static_cast<std::ptrdiff_t>(from), count, Cell{' ', attr});
  std::fill_n(known_.begin() + static_cast<std::ptrdiff_t>(from), count, shown ? 1 : 0);
}

void TerminalPainter::use_colour(std::uint8_t attr, std::string& out) {
  if (colour_ == attr) return;
  out += colours_.sgr(attr);
  colour_ = attr;
}

void TerminalPainter::paint(const ScreenModel& model, std::string& out) {
  const int width = std::min(width_, model.width());
  const int height = std::min(height_, model.height());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Cell& cell = model.at(x, y);
      const std::size_t i = index(x, y);
      if (known_[i] && shown_[i] == cell) continue;
      if (!write_over_gap(model, x, y, out)) move_to(x, y, out);
      use_colour(cell.attr, out);
      charset_.append_display(out, cell.ch);
      shown_[i] = cell;
      known_[i] = 1;
      // In the last column terminals hold the cursor in a pending wrap: place it anew.
      cursor_x_ = x + 1 < width_ ? x + 1 : -1;
      if (cursor_x_ < 0) cursor_y_ = -1;
    }
  }
  move_to(std::min(model.cursor_x(), width_ - 1), std::min(model.cursor_y(), height_ - 1), out);
}

void TerminalPainter::scroll_up(std::string& out) {
  move_to(0, height_ - 1, out);
  out += '\n';
  std::move(shown_.begin() + width_, shown_.end(), shown_.begin());
  std::move(known_.begin() + width_, known_.end(), known_.begin());
  // The new line is blank in the colours in force, when they are known.
  const std::size_t last_row = shown_.size() - static_cast<std::size_t>(width_);
  if (colour_ >= 0)
    know_blanks(last_row, static_cast<std::size_t>(width_), static_cast<std::uint8_t>(colour_));
  else
    std::fill(known_.begin() + static_cast<std::ptrdiff_t>(last_row), known_.end(), 0);
  cursor_x_ = cursor_y_ = -1;
}

void TerminalPainter::clear(std::uint8_t attr, std::string& out) {
  use_colour(attr, out);
  out += "\x1b[H\x1b[2J";
  know_blanks(0, shown_.size(), attr);
  cursor_x_ = cursor_y_ = 0;
  colour_ = attr;
}

}  // namespace tindel
