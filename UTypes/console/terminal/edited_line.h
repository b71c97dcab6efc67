#pragma once
// Where a line typed for `input` stands in the screen model, and its drawing there, for the
// front ends that edit lines themselves (the terminal and the page): drawn through the model,
// the line's rows and `wherey` stay right however it wraps.
#include <cstddef>
#include <cstdint>
#include <string>

#include "UTypes/console/screen_model.h"

namespace tindel {

class EditedLine {
 public:
  // A new line begins at the model's cursor.
  void begin(const ScreenModel& model);
  // Draws text over what was drawn before, the cursor `cursor` characters into it.
  void draw(ScreenModel& model, const std::string& text, std::size_t cursor, std::uint8_t attr);
  // The model scrolls up a row: a line being edited moves up with the rest.
  void scrolled();
  // The model changed its size: the line's start stays inside it.
  void fit(const ScreenModel& model);
  // Writes the typed line and a line end where the line began; editing is over.
  void finish(ScreenModel& model, const std::string& text, std::uint8_t attr);
  // Editing is over without a line (the input ended).
  void abandon() { active_ = false; }

 private:
  int x_ = 0;
  int y_ = 0;
  std::size_t drawn_ = 0;  // characters last drawn
  bool active_ = false;
};

}  // namespace tindel
