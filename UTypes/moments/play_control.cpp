#include "UTypes/moments/play_control.h"

#include "UTypes/console/console.h"
#include "UTypes/console/console_ops.h"
#include "UTypes/moments/moment_history.h"

namespace tindel {

namespace {

constexpr std::string_view kRestartQuestion =
    "Restart the quest from the beginning? Enter - yes, any other key - no";
constexpr std::uint8_t kQuestionAttr = 0x70;  // black on light grey

// Back serves only the menus of locations and pauses in play, never a use action's.
bool serves_menu(const InterpreterState& s) {
  return s.moments && s.syntax_level == 0 && s.call_depth == 0 && s.menu_depth == 0;
}

// The list on the screen is no longer the one that waits (a click must not choose from it).
void leave_the_list(InterpreterState& s) {
  menu_entries(s, wherey(s), 0, 0);
}

void go_back(InterpreterState& s) {
  auto bytes = s.moments->step_back();
  if (!bytes) return;
  leave_the_list(s);
  auto moment = moment_from_bytes(*bytes);
  if (!moment) return;  // the history holds only moments this program wrote
  restore_moment(s, *moment);
  if (moment->screen) s.con_out->show_screen_image(*moment->screen);
  throw ReturnToMoment{moment->wait};
}

std::uint8_t next_key(InterpreterState& s) {
  std::uint8_t k = key::kNone;
  while (k == key::kNone)
    k = s.con_in->waitkey();
  return k;
}

// The question on the bottom row, then the screen as it was; true after Enter.
bool confirmed_restart(InterpreterState& s) {
  leave_the_list(s);
  auto before = s.con_out->screen_image();
  if (before) {
    s.con_out->gotoxy(1, before->height);
    std::string line(kRestartQuestion.substr(0, static_cast<std::size_t>(before->width - 1)));
    line.resize(static_cast<std::size_t>(before->width - 1), ' ');
    s.con_out->conwrite(line, kQuestionAttr);
  } else {
    s.con_out->conwrite(std::string("\r\n").append(kRestartQuestion), s.text_attr);
  }
  s.con_out->flush();
  std::uint8_t k = next_key(s);
  if (before)
    s.con_out->show_screen_image(*before);
  else
    s.con_out->conwrite("\r\n", s.text_attr);
  return k == key::kEnter;
}

}  // namespace

void keep_moment(InterpreterState& s, MenuWait wait) {
  if (!serves_menu(s)) return;
  if (s.quest_file.image()) s.moments->follow_quest_version(s.quest_file.image()->version);
  s.moments->keep(moment_to_bytes(take_moment(s, wait, s.con_out->screen_image())));
}

void moment_key(InterpreterState& s, std::uint8_t k) {
  if (!serves_menu(s) || !s.moments->back_keys() || s.moments->size() == 0) return;
  if (k == key::kBackspace) go_back(s);
  if (k == key::kCtrlR && confirmed_restart(s)) throw RestartQuest{};
}

}  // namespace tindel
