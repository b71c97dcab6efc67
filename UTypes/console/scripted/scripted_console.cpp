#include "UTypes/console/scripted/scripted_console.h"

#include "UTypes/state/program_end.h"

namespace tindel {

ScriptedConsole::ScriptedConsole(int width, int height) : model_(width, height) {
  model_.set_listener(this);
}

std::string ScriptedConsole::transcript() const {
  std::string out;
  for (const auto& row : scrolled_)
    out += row + "\n";
  int last = model_.height() - 1;
  while (last > model_.cursor_y() && model_.row_text(last).empty())
    --last;
  for (int y = 0; y <= last; ++y)
    out += model_.row_text(y) + "\n";
  return out;
}

void ScriptedConsole::menutick() {
  if (ticks_ >= tick_limit_) throw ProgramEnd{exit_status::kOk, "tindel: time ran out"};
  ++ticks_;
}

std::uint8_t ScriptedConsole::readkey() {
  if (keys_.empty()) return key::kNone;
  std::uint8_t k = keys_.front();
  keys_.pop_front();
  return k;
}

std::uint8_t ScriptedConsole::pollbreak() {
  if (break_keys_.empty()) return key::kNone;
  std::uint8_t k = break_keys_.front();
  break_keys_.pop_front();
  return k;
}

std::uint8_t ScriptedConsole::waitkey() {
  if (keys_.empty()) throw ProgramEnd{exit_status::kOk, "tindel: input ended"};
  return readkey();
}

std::optional<std::string> ScriptedConsole::readline() {
  if (lines_.empty()) return std::nullopt;
  std::string line = std::move(lines_.front());
  lines_.pop_front();
  model_.write(line + "\r\n", 7);  // the console echoes what the player types
  return line;
}

void ScriptedConsole::clrscr(std::uint8_t attr) {
  for (int y = 0; y < model_.height(); ++y) {
    std::string row = model_.row_text(y);
    if (y < model_.cursor_y() || !row.empty()) scrolled_.push_back(std::move(row));
  }
  model_.clear(attr);
}

void ScriptedConsole::before_scroll(const ScreenModel& model) {
  scrolled_.push_back(model.row_text(0));
}

}  // namespace tindel
