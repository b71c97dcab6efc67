#include "UTypes/console/screen_model.h"

#include <algorithm>

namespace tindel {

ScreenModel::ScreenModel(int width, int height)
    : width_(screen_side(width)),
      height_(screen_side(height)),
      cells_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {}

void ScreenModel::resize(int width, int height) {
  width = screen_side(width);
  height = screen_side(height);
  // Keep the rows that end at the cursor: that is where the player is reading.
  int first = std::max(0, cy_ - height + 1);
  std::vector<Cell> cells(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height && first + y < height_; ++y)
    for (int x = 0; x < std::min(width, width_); ++x)
      cells[static_cast<std::size_t>(y * width + x)] = at(x, first + y);
  cells_ = std::move(cells);
  width_ = width;
  height_ = height;
  cy_ = std::min(cy_ - first, height_ - 1);
  cx_ = std::min(cx_, width_ - 1);
}

void ScreenModel::show_image(const ScreenImage& image) {
  if (image.width != screen_side(image.width) || image.height != screen_side(image.height) ||
      image.cells.size() !=
          static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
    return;
  int width = width_;
  int height = height_;
  cells_ = image.cells;
  width_ = image.width;
  height_ = image.height;
  cx_ = std::clamp(image.cursor_x, 0, width_ - 1);
  cy_ = std::clamp(image.cursor_y, 0, height_ - 1);
  if (width != width_ || height != height_) resize(width, height);
}

void ScreenModel::clear(std::uint8_t attr) {
  std::fill(cells_.begin(), cells_.end(), Cell{' ', attr});
  cx_ = 0;
  cy_ = 0;
}

void ScreenModel::write(std::string_view bytes, std::uint8_t attr) {
  write_cells(bytes, Cell{' ', attr, false});
}

void ScreenModel::write_highlighted(std::string_view bytes, std::uint8_t attr) {
  write_cells(bytes, Cell{' ', attr, true});
}

void ScreenModel::write_cells(std::string_view bytes, Cell look) {
  for (char c : bytes)
    put(static_cast<std::uint8_t>(c), look);
}

bool ScreenModel::move_cursor(int x, int y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  cx_ = x;
  cy_ = y;
  return true;
}

std::string ScreenModel::row_text(int y) const {
  // Every row that scrolls off is taken as text: the blanks at its end are not copied.
  const Cell* row = &at(0, y);
  int length = width_;
  while (length > 0 && row[length - 1].ch == ' ')
    --length;
  std::string s(static_cast<std::size_t>(length), ' ');
  for (int x = 0; x < length; ++x)
    s[static_cast<std::size_t>(x)] = static_cast<char>(row[x].ch);
  return s;
}

void ScreenModel::put(std::uint8_t ch, Cell look) {
  switch (ch) {
    case 7:  // bell: nothing to show
      return;
    case 8:  // backspace moves left within the row
      if (cx_ > 0) --cx_;
      return;
    case 9:  // tab: next multiple of eight, as far as the last column
      cx_ = std::min((cx_ / 8 + 1) * 8, width_ - 1);
      return;
    case 10:
      line_feed(look.attr);
      return;
    case 13:
      cx_ = 0;
      return;
    default:
      break;
  }
  look.ch = ch;
  cells_[static_cast<std::size_t>(cy_ * width_ + cx_)] = look;
  if (++cx_ >= width_) {
    cx_ = 0;
    line_feed(look.attr);
  }
}

void ScreenModel::line_feed(std::uint8_t attr) {
  if (cy_ + 1 < height_) {
    ++cy_;
  } else {
    scroll_up(attr);
  }
}

void ScreenModel::scroll_up(std::uint8_t attr) {
  if (listener_) listener_->before_scroll(*this);
  std::move(cells_.begin() + width_, cells_.end(), cells_.begin());
  std::fill(cells_.end() - width_, cells_.end(), Cell{' ', attr});
}

}  // namespace tindel
