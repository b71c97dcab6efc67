#pragma once
// The statements that change data: assignment, inventory, string variables, removals,
// saving, the common location and the media.
#include "UTypes/state/interpreter_state.h"

namespace tindel {

void assignment(InterpreterState& s);
void inv_statement(InterpreterState& s);
void instr_statement(InterpreterState& s);
void invkill_statement(InterpreterState& s);
void perkill_statement(InterpreterState& s);
void save_statement(InterpreterState& s);
void common_statement(InterpreterState& s);
void music_statement(InterpreterState& s);
void play_statement(InterpreterState& s);

}  // namespace tindel
