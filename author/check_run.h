#pragma once
// One run of the interpreter's own check of syntax and labels (the check of mode 3) over a
// quest held in memory, watched: every error is recorded and the check goes on from the start
// of the next line, and every statement, token and variable lookup is kept for the index and
// the warnings.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "UTypes/diagnostics/check_observer.h"
#include "UTypes/source/quest_file.h"
#include "UTypes/state/token_kind.h"
#include "author/large_buffer.h"
#include "author/lint/lint.h"

namespace tindel::author {

struct SeenToken {
  TokenKind kind = TokenKind::Unknown;
  std::string text;  // operand text, CP866
  SourcePlace start;
};

constexpr std::size_t kKeptTokens = 2;
constexpr std::uint32_t kNoDetail = UINT32_MAX;

// What a few kinds of statement leave for the index and the warnings beyond where they stand.
struct StatementDetail {
  // btn, goto, proc, input, music and the picture's assignment: the first tokens it read
  std::array<SeenToken, kKeptTokens> tokens;
  std::uint8_t tokens_kept = 0;
  // p and pln the first line of their text (the first of each location only), play the
  // sound's name, btn the caption, common the common location's label.
  std::string result;
};

// Kept for every statement of the quest, so kept small; the rest is in a detail.
struct SeenStatement {
  SourcePlace start;
  std::uint32_t token_count = 0;  // all the tokens it read
  std::uint32_t detail = kNoDetail;
  TokenKind kind = TokenKind::Unknown;  // the current token when the statement began
  bool failed = false;
  std::string text;  // its operand text (an assignment's name)
};

struct SeenLookup {
  SourcePlace place;
  std::uint32_t key = 0;  // into CheckRecord::keys
  std::int32_t length = 0;
  std::uint32_t statement = 0;
};

struct SeenDiagnostic {
  SourcePlace place;
  Severity severity = Severity::error;
  std::string message;  // CP866
  std::size_t statement = 0;
};

struct LabelLine {
  std::string name;   // lower-cased, without blanks, CP866
  SourcePlace place;  // the ":"
  int length = 0;     // from the ":" to the end of the name
};

// The record's arrays grow with the quest: a 4 MB quest holds hundreds of thousands of
// statements and lookups.
template <typename T>
using LargeVector = std::vector<T, LargeAllocator<T>>;

struct CheckRecord {
  LargeVector<SeenStatement> statements;
  LargeVector<StatementDetail> details;
  LargeVector<SeenLookup> lookups;
  std::vector<std::string> keys;  // every key looked up once: "$gold", ";key", "%name"
  std::vector<SeenDiagnostic> diagnostics;
  std::vector<LabelLine> labels;
  int line_count = 1;

  std::span<const SeenToken> tokens_of(const SeenStatement& st) const;
  const std::string& result_of(const SeenStatement& st) const;
  const std::string& key_of(const SeenLookup& look) const { return keys[look.key]; }
};

// The quest as the player loads it (a UTF-8 quest becomes CP866, one byte per character; a file
// with LF line ends only gets CR LF), with the decoding flags to use.
struct PreparedQuest {
  std::shared_ptr<const QuestImage> image;
  bool codepage_w = true;
  bool qs1 = false;
  // The bytes up to the quest's end, as the interpreter reads them.
  std::string_view bytes() const { return std::string_view(image->bytes).substr(0, image->end); }
};
PreparedQuest prepare_quest(std::string_view bytes, const LintOptions& options);

CheckRecord run_check(const PreparedQuest& quest);

// Offsets of the first byte of each line as the scanner counts lines (after each CR LF).
std::vector<std::size_t> scanner_line_starts(std::string_view bytes);

// A CP866 text as UTF-8.
std::string to_utf8(std::string_view cp866);

}  // namespace tindel::author
