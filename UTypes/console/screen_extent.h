#pragma once
// How far down the screen the program has written.
#include "UTypes/console/screen_model.h"

namespace tindel {

// The last row that holds text or lies above the cursor (0-based); -1 on an empty screen
// with the cursor in the top row.
int last_row_in_use(const ScreenModel& model);

}  // namespace tindel
