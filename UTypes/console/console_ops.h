#pragma once
// The console operations as the interpreter calls them: with the current text attribute
// of the shared record.
#include <cstdint>
#include <string>
#include <string_view>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

class Console;

// Takes the console for the run: title, pending keys dropped.
void coninit(InterpreterState& s, Console& console);
void showcursor(InterpreterState& s, bool visible);
void clrscr(InterpreterState& s);
void conwrite(InterpreterState& s, std::string_view text);
void conwriteln(InterpreterState& s, std::string_view text);
int wherey(InterpreterState& s);
std::string_view menu_mark(const InterpreterState& s, bool highlighted);
void gotoxy(InterpreterState& s, int x, int y);
std::uint8_t readkey(InterpreterState& s);
void menutick(InterpreterState& s);
// Where the menu's entries stand and which is highlighted; count 0 when it stops waiting.
void menu_entries(InterpreterState& s, int first_row, int count, int highlighted);
std::string inttostr(std::int32_t n);

// The quest's name as the console shows it: the command line's UTF-8 turned into CP866.
std::string shown_quest_name(const InterpreterState& s);

}  // namespace tindel
