#include "UTypes/console/terminal/edited_line.h"

#include <algorithm>

namespace tindel {

void EditedLine::begin(const ScreenModel& model) {
  x_ = model.cursor_x();
  y_ = model.cursor_y();
  drawn_ = 0;
  active_ = true;
}

void EditedLine::draw(ScreenModel& model, const std::string& text, std::size_t cursor,
                      std::uint8_t attr) {
  model.move_cursor(x_, y_);
  std::string shown = text;
  if (drawn_ > text.size()) shown.append(drawn_ - text.size(), ' ');
  model.write(shown, attr);  // a wrap in the last row scrolls, and moves y_ up
  drawn_ = text.size();
  const int at = x_ + static_cast<int>(cursor);
  model.move_cursor(at % model.width(), std::min(y_ + at / model.width(), model.height() - 1));
}

void EditedLine::scrolled() {
  if (active_ && y_ > 0) --y_;
}

void EditedLine::fit(const ScreenModel& model) {
  x_ = std::min(x_, model.width() - 1);
  y_ = std::min(y_, model.height() - 1);
}

void EditedLine::finish(ScreenModel& model, const std::string& text, std::uint8_t attr) {
  active_ = false;
  model.move_cursor(x_, y_);
  model.write(text + "\r\n", attr);
}

}  // namespace tindel
