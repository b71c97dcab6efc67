#include "UTypes/console/text_block.h"

#include <algorithm>
#include <cstring>

#include "UTypes/console/console.h"
#include "UTypes/console/menu.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/eval/numeric.h"
#include "UTypes/eval/var_table.h"

namespace tindel {

namespace {

constexpr int kColumns = 80;
constexpr int kPageLines = 24;

void append_cell(InterpreterState& s, std::uint8_t ch, std::uint8_t colour) {
  // The page rule keeps the block far below its size; a cell beyond it is never stored.
  if (s.block_count < 0 || s.block_count >= kBlockCells) return;
  auto i = static_cast<std::size_t>(s.block_count);
  s.block_chars[i] = ch;
  s.block_colours[i] = colour;
  ++s.block_count;
}

// Adds one character; true when it ended a page, after which the table may have changed
// (a page waits for the player in the menu).
bool put_char(InterpreterState& s, std::uint8_t ch, std::uint8_t colour) {
  append_cell(s, ch, colour);
  ++s.block_column;
  if (ch != 10 && s.block_column < kColumns) return false;
  s.block_column = 0;
  ++s.block_lines;
  bool ends_page = s.block_lines + s.btn_count >= kPageLines;
  nextpage(s);
  return ends_page;
}

}  // namespace

std::uint8_t style_colour(InterpreterState& s, std::string_view key) {
  return low_byte(var_value(s, key));
}

// Only LF ends a line; a line also ends at its 80th character, where the console wraps.
void outchar(InterpreterState& s, std::uint8_t ch) {
  put_char(s, ch, style_colour(s, "$styletextcolor"));
}

// The characters of a text that end no line (no LF, none at the 80th column), stored as
// put_char would store them one by one.
void put_run(InterpreterState& s, std::string_view run, std::uint8_t colour) {
  s.block_column += static_cast<std::int32_t>(run.size());
  if (s.block_count < 0 || s.block_count >= kBlockCells) return;
  auto at = static_cast<std::size_t>(s.block_count);
  std::size_t kept = std::min(run.size(), static_cast<std::size_t>(kBlockCells) - at);
  std::memcpy(s.block_chars.data() + at, run.data(), kept);
  std::memset(s.block_colours.data() + at, colour, kept);
  s.block_count += static_cast<std::int32_t>(kept);
}

// How many characters from the start of text end no line from the current column on.
std::size_t run_within_line(const InterpreterState& s, std::string_view text) {
  std::size_t room = static_cast<std::size_t>(std::max(0, kColumns - 1 - s.block_column));
  std::string_view part = text.substr(0, room);
  std::size_t lf = part.find('\n');
  return lf == std::string_view::npos ? part.size() : lf;
}

// Every character takes the text colour of its moment. Between two characters of one text
// only a page end can change the table, so the colour is looked up once and again after each
// page end; a watched check hears the same lookups (the authors' tools need no more). The
// characters between two line ends go in as one run.
void outtext(InterpreterState& s, std::string_view text) {
  if (s.direct_reads) {
    for (char c : text)
      outchar(s, static_cast<std::uint8_t>(c));
    return;
  }
  std::uint8_t colour = 0;
  bool look_up = true;
  while (!text.empty()) {
    if (look_up) colour = style_colour(s, "$styletextcolor");
    std::size_t run = run_within_line(s, text);
    put_run(s, text.substr(0, run), colour);
    text.remove_prefix(run);
    if (text.empty()) return;
    look_up = put_char(s, static_cast<std::uint8_t>(text[0]), colour);
    text.remove_prefix(1);
  }
}

// "[next]" in the cursor colour ends the page; play then waits for Enter (other keys are
// dropped), blocking rather than spinning.
void nextpage(InterpreterState& s) {
  if (s.block_lines + s.btn_count < kPageLines) return;
  std::uint8_t colour = style_colour(s, "$stylecursorcolor");
  for (char c : std::string_view("[next]"))
    append_cell(s, static_cast<std::uint8_t>(c), colour);
  menu(s, -1);
  if (s.syntax_level != 0) return warning(s, ",  TOO LARGE BLOCK");
  while (s.con_in->waitkey() != key::kEnter) {
  }
}

}  // namespace tindel
