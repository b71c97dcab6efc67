#pragma once
// The tokens of places that play reads again and again (the body of a loop), remembered by
// the scanner and given back with every effect the reading had: the text, the kind, the
// counters, the last number, and a chance for the player to break off at each line end.
#include "UTypes/state/interpreter_state.h"

namespace tindel {

// The record of the reader's place, or nullptr when the place is not to be remembered (a
// check, a test reading directly, no quest). A record of another place is taken over.
TokenRecord* memo_record_at(InterpreterState& s);

// Gives back what the reading from this place left. Only for a record of Stage::kRecorded.
void memo_replay(InterpreterState& s, const TokenRecord& r);

// Around a reading that fills the record: begin, then finish once the token is read.
struct MemoStart {
  std::int32_t line_no = 0;
  std::int32_t line_pos = 0;
};
MemoStart memo_begin(InterpreterState& s, TokenRecord& r);
void memo_finish(InterpreterState& s, TokenRecord& r, MemoStart start);

// Called by the scanner while a record is filled.
void memo_line_end(InterpreterState& s);
void memo_number(InterpreterState& s, bool fraction);
void memo_never(InterpreterState& s);  // the reading depends on the table: not remembered

}  // namespace tindel
