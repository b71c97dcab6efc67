#include "UTypes/console/console_ops.h"

#include "UTypes/charset/cp866.h"
#include "UTypes/console/console.h"

namespace tindel {

void coninit(InterpreterState& s, Console& console) {
  s.con_in = &console;
  s.con_out = &console;
  console.set_title("Tindel");
  console.discard_pending();
}

void showcursor(InterpreterState& s, bool visible) {
  s.con_out->showcursor(visible);
}

void clrscr(InterpreterState& s) {
  s.con_out->clrscr(s.text_attr);
}

void conwrite(InterpreterState& s, std::string_view text) {
  s.con_out->conwrite(text, s.text_attr);
}

void conwriteln(InterpreterState& s, std::string_view text) {
  conwrite(s, text);
  conwrite(s, "\r\n");
}

int wherey(InterpreterState& s) {
  return s.con_out->wherey();
}

std::string_view menu_mark(const InterpreterState& s, bool highlighted) {
  return s.con_out->menu_mark(highlighted);
}

void gotoxy(InterpreterState& s, int x, int y) {
  s.con_out->gotoxy(x, y);
}

std::uint8_t readkey(InterpreterState& s) {
  return s.con_in->readkey();
}

void menutick(InterpreterState& s) {
  s.con_in->menutick();
}

void menu_entries(InterpreterState& s, int first_row, int count, int highlighted) {
  s.con_out->menu_entries(first_row, count, highlighted);
}

std::string inttostr(std::int32_t n) {
  return std::to_string(n);
}

std::string shown_quest_name(const InterpreterState& s) {
  return s.charset.typed_text(s.quest_name);
}

}  // namespace tindel
