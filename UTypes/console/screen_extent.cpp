#include "UTypes/console/screen_extent.h"

namespace tindel {

int last_row_in_use(const ScreenModel& model) {
  int last = model.height() - 1;
  while (last >= model.cursor_y() && model.row_text(last).empty())
    --last;
  return last;
}

}  // namespace tindel
