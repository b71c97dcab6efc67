#include "UTypes/console/text_block.h"

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

// Every character takes the text colour of its moment. Between two characters of one text
// only a page end can change the table, so the colour is looked up once and again after each
// page end; a watched check hears the same lookups (the authors' tools need no more).
void outtext(InterpreterState& s, std::string_view text) {
  if (s.direct_reads) {
    for (char c : text)
      outchar(s, static_cast<std::uint8_t>(c));
    return;
  }
  std::uint8_t colour = 0;
  bool look_up = true;
  for (char c : text) {
    if (look_up) colour = style_colour(s, "$styletextcolor");
    look_up = put_char(s, static_cast<std::uint8_t>(c), colour);
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
