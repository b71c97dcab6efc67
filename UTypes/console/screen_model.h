#pragma once
// The console's screen buffer as the program sees it: cells with attributes and a cursor
// that follow the Windows console's rules (a character in the last column moves the cursor
// to the next row at once; LF moves down; writing below the last row scrolls up). Every
// front end writes here first, so positions never depend on a terminal's own wrapping.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tindel {

// The largest side of a screen. A terminal may report any size; width x height cells must
// fit memory and an int however absurd the report.
constexpr int kMaxScreenSide = 4096;
// A reported side brought into 1..kMaxScreenSide.
constexpr int screen_side(int reported) {
  return reported < 1 ? 1 : (reported > kMaxScreenSide ? kMaxScreenSide : reported);
}

struct Cell {
  std::uint8_t ch = ' ';
  std::uint8_t attr = 7;
  bool highlighted = false;  // part of the highlighted menu entry
  friend bool operator==(const Cell&, const Cell&) = default;
};

// The cells and the cursor of a screen, as a moment of play keeps them to show them again.
struct ScreenImage {
  int width = 0;
  int height = 0;
  int cursor_x = 0;
  int cursor_y = 0;
  std::vector<Cell> cells;  // width * height, row by row
  friend bool operator==(const ScreenImage&, const ScreenImage&) = default;
};

class ScreenModel {
 public:
  // Told about the top row just before it scrolls off the buffer.
  class ScrollListener {
   public:
    virtual ~ScrollListener() = default;
    virtual void before_scroll(const ScreenModel& model) = 0;
  };

  // Sizes are brought into 1..kMaxScreenSide, here and at a resize.
  explicit ScreenModel(int width = 80, int height = 25);

  void set_listener(ScrollListener* listener) { listener_ = listener; }
  // New size; the rows around the cursor are kept, the cursor stays inside.
  void resize(int width, int height);
  void clear(std::uint8_t attr);
  void write(std::string_view bytes, std::uint8_t attr);
  // As write, the cells marked as the highlighted menu entry.
  void write_highlighted(std::string_view bytes, std::uint8_t attr);
  // 0-based; a position outside the buffer leaves the cursor where it is.
  bool move_cursor(int x, int y);
  ScreenImage image() const { return {width_, height_, cx_, cy_, cells_}; }
  // The image's cells and cursor, brought to this screen's size as a resize would; an image
  // whose cells do not fill its sides is ignored.
  void show_image(const ScreenImage& image);

  int width() const { return width_; }
  int height() const { return height_; }
  int cursor_x() const { return cx_; }
  int cursor_y() const { return cy_; }
  const Cell& at(int x, int y) const { return cells_[static_cast<std::size_t>(y * width_ + x)]; }
  // The characters of row y without trailing blanks.
  std::string row_text(int y) const;

 private:
  void write_cells(std::string_view bytes, Cell look);
  void put(std::uint8_t ch, Cell look);
  void line_feed(std::uint8_t attr);
  void scroll_up(std::uint8_t attr);

  int width_;
  int height_;
  int cx_ = 0;
  int cy_ = 0;
  std::vector<Cell> cells_;
  ScrollListener* listener_ = nullptr;
};

}  // namespace tindel
