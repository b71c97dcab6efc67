#include "UTypes/source/token_memo.h"

#include "UTypes/charset/codepage.h"
#include "UTypes/console/console.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/state/program_end.h"

namespace tindel {

namespace {

using Stage = TokenRecord::Stage;

std::uint8_t decoding_of(const InterpreterState& s) {
  return static_cast<std::uint8_t>(decoding_index(s.qs1_file, s.codepage_w));
}

bool is_place(const TokenRecord& r, const InterpreterState& s, std::uint64_t version) {
  return r.version == version && r.pos == s.quest_file.pos() && r.cur_char == s.cur_char &&
         r.decoding == decoding_of(s);
}

// The reader as it stood at a line end the reading passed, and the player's break there.
[[noreturn]] void break_at(InterpreterState& s, const TokenRecord& r, int k, int line_no) {
  const MemoLineEnd& e = r.ends[static_cast<std::size_t>(k)];
  if (!e.kind_before) s.token_kind = e.kind;
  s.token_text = e.text;
  if (e.number) s.number_value = e.number_value;
  if (e.fraction) s.number_fraction = e.number_fraction;
  s.line_no = line_no + k + 1;
  s.line_pos = 0;
  s.cur_char = kEndOfLine;
  s.quest_file.seek(e.pos);
  reporterror(s, "[getchar] BREAK", exit_status::kOk);
}

}  // namespace

TokenRecord* memo_record_at(InterpreterState& s) {
  if (s.syntax_level != 0 || s.direct_reads || !s.quest_file.image()) return nullptr;
  const std::uint64_t version = s.quest_file.image()->version;
  std::size_t pos = s.quest_file.pos();
  TokenRecord& r = s.token_memo.records[(pos * 0x9E3779B1u >> 7) % TokenMemo::kRecords];
  if (!is_place(r, s, version)) {
    r.stage = Stage::kEmpty;
    r.version = version;
    r.pos = pos;
    r.cur_char = s.cur_char;
    r.decoding = decoding_of(s);
  }
  return &r;
}

void memo_replay(InterpreterState& s, const TokenRecord& r) {
  for (int k = 0; k < r.line_ends; ++k)
    if (s.con_in->pollbreak() == key::kEscape) break_at(s, r, k, s.line_no);
  s.token_kind = r.kind;
  s.token_text = r.text;
  if (r.number) s.number_value = r.number_value;
  if (r.fraction) s.number_fraction = r.number_fraction;
  s.cur_char = r.end_char;
  s.quest_file.seek(r.end_pos);
  s.line_no += r.line_ends;
  s.line_pos = r.line_ends ? r.line_pos_after : s.line_pos + r.line_pos_after;
}

MemoStart memo_begin(InterpreterState& s, TokenRecord& r) {
  r.line_ends = 0;
  r.number = r.fraction = false;
  s.token_memo.recording = &r;
  s.token_memo.pieces = 0;
  s.token_memo.kind_written = false;
  return MemoStart{s.line_no, s.line_pos};
}

void memo_finish(InterpreterState& s, TokenRecord& r, MemoStart start) {
  s.token_memo.recording = nullptr;
  if (r.stage == Stage::kNever) return;
  r.kind = s.token_kind;
  r.text = s.token_text;
  r.number_value = s.number_value;
  r.number_fraction = s.number_fraction;
  r.end_char = s.cur_char;
  r.end_pos = s.quest_file.pos();
  r.line_pos_after = r.line_ends ? s.line_pos : s.line_pos - start.line_pos;
  bool counted = s.line_no - start.line_no == r.line_ends;
  r.stage = counted ? Stage::kRecorded : Stage::kNever;
}

void memo_line_end(InterpreterState& s) {
  TokenRecord& r = *s.token_memo.recording;
  if (r.line_ends == r.ends.size()) {
    r.stage = Stage::kNever;
    return;
  }
  MemoLineEnd& e = r.ends[r.line_ends++];
  e.kind_before = s.token_memo.pieces == 0 && !s.token_memo.kind_written;
  e.kind = s.token_kind;
  e.text = s.token_text;
  e.pos = s.quest_file.pos();
  e.number = r.number;
  e.fraction = r.fraction;
  e.number_value = s.number_value;
  e.number_fraction = s.number_fraction;
}

void memo_number(InterpreterState& s, bool fraction) {
  TokenRecord& r = *s.token_memo.recording;
  r.number = true;
  r.fraction = r.fraction || fraction;
}

void memo_never(InterpreterState& s) {
  s.token_memo.recording->stage = Stage::kNever;
}

}  // namespace tindel
