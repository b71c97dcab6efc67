#pragma once
// What the scanner read from a place of the quest in play, kept so that a loop that passes the
// same place again takes its token without reading the bytes again. A place is remembered on
// its second reading (most places of a quest are read once) and given back from the third.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "UTypes/state/token_kind.h"

namespace tindel {

// A line end the token's reading passed, with what the scanner held there: the player may
// break off at it, and the report then shows that moment.
struct MemoLineEnd {
  bool kind_before = false;               // token_kind was still the one before the reading
  TokenKind kind = TokenKind::Unknown;    // else token_kind at the line end
  std::string text;                       // the text gathered by then
  std::size_t pos = 0;                    // the reader after the line end
  bool number = false, fraction = false;  // set by this reading by then, to these values
  double number_value = 0.0, number_fraction = 0.0;
};

struct TokenRecord {
  enum class Stage : std::uint8_t { kEmpty, kSeen, kRecorded, kNever };
  Stage stage = Stage::kEmpty;
  // The place: the reader's position and current character, in one image and decoding.
  std::uint64_t version = 0;
  std::size_t pos = 0;
  std::uint8_t cur_char = 0;
  std::uint8_t decoding = 0;
  // What the reading left.
  TokenKind kind = TokenKind::Unknown;
  std::string text;
  std::uint8_t end_char = 0;
  std::size_t end_pos = 0;
  std::int32_t line_pos_after = 0;  // added to line_pos, or line_pos itself after a line end
  bool number = false, fraction = false;
  double number_value = 0.0, number_fraction = 0.0;
  std::uint8_t line_ends = 0;
  std::array<MemoLineEnd, 2> ends{};
};

struct TokenMemo {
  static constexpr std::size_t kRecords = 512;
  std::array<TokenRecord, kRecords> records{};
  TokenRecord* recording = nullptr;  // the record the scanner fills now, if any
  int pieces = 0;                    // pieces of the token read so far, while recording
  bool kind_written = false;         // token_kind set by this reading already
};

}  // namespace tindel
