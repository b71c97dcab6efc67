#pragma once
// A moment of play: the whole state while a menu waits at call depth 0, enough to come back
// to that menu exactly. Back keeps the moments of the menus played; a front end may also
// keep the last one (a file, a page's storage) to continue the game later.
//
// For a front end that keeps moments itself (the page):
//   Moment m = take_moment(state, wait, console.screen_image());  // at the menu
//   std::string bytes = moment_to_bytes(m);                        // to keep it
//   std::optional<Moment> back = moment_from_bytes(bytes);         // nullopt: not a moment
//   restore_moment(state, *back);  // then show back->screen and wait at back->wait
// The bytes carry no check of their own; moments_file.h adds a version, the quest's identity
// and a checksum for a copy that lives outside the program.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "UTypes/console/screen_model.h"
#include "UTypes/state/interpreter_state.h"

namespace tindel {

// Which statement waits at the menu: a location's `end`, or `pause` with its milliseconds.
struct MenuWait {
  bool location_end = true;
  std::int32_t pause_ms = 0;
  friend bool operator==(const MenuWait&, const MenuWait&) = default;
};

inline bool operator==(const ReaderMark& a, const ReaderMark& b) {
  return a.pos == b.pos && a.cur_char == b.cur_char && a.line_no == b.line_no &&
         a.line_pos == b.line_pos;
}

// A slot of the variable table that is in use (a name, or a value other than 0).
struct SlotValue {
  std::uint16_t index = 0;
  double value = 0.0;
  std::string name;
  friend bool operator==(const SlotValue&, const SlotValue&) = default;
};

struct Moment {
  // What a saved game holds.
  std::string quest_name;
  std::string common_name;
  std::string current_label;
  std::vector<std::int32_t> call_stack;  // call_depth entries
  std::vector<SlotValue> slots;
  std::int32_t var_boundary = kVarSlots;
  // Where the quest is read from, with the scanner's current token.
  ReaderMark reader;
  TokenKind token_kind = TokenKind::Unknown;
  std::string token_text;
  double number_value = 0.0;
  std::string str_result;
  // The text block not yet shown and the buttons waiting for the menu.
  std::string block_chars;
  std::string block_colours;
  std::int32_t block_column = 0;
  std::int32_t block_lines = 0;
  std::vector<std::string> button_labels;
  std::vector<std::string> button_captions;
  std::uint8_t text_attr = 7;
  // The random generator, so that choosing again draws the same numbers.
  std::string random;
  MenuWait wait;
  // The screen before the text block is shown; absent on a front end that keeps none.
  std::optional<ScreenImage> screen;
  friend bool operator==(const Moment&, const Moment&) = default;
};

Moment take_moment(const InterpreterState& s, MenuWait wait, std::optional<ScreenImage> screen);

// Puts the state back as the moment holds it (the screen is the caller's to show). The quest
// must be the one the moment was taken on; positions in it are not checked.
void restore_moment(InterpreterState& s, const Moment& m);

std::string moment_to_bytes(const Moment& m);
// nullopt when the bytes are not a moment as moment_to_bytes writes one (cut short, a field
// out of its bounds, bytes left over).
std::optional<Moment> moment_from_bytes(std::string_view bytes);

}  // namespace tindel
