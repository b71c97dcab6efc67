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

// The colour of "$styletextcolor" now, read from its remembered slot while no name changed.
std::uint8_t text_colour(InterpreterState& s) {
  SlotMemo& memo = s.text_colour_slot;
  if (memo.generation != s.var_names.generation()) {
    memo.slot = getvar(s, "$styletextcolor");
    memo.generation = s.var_names.generation();
  }
  return low_byte(s.var_values[static_cast<std::size_t>(memo.slot)]);
}

}  // namespace

std::uint8_t style_colour(InterpreterState& s, std::string_view key) {
  return low_byte(var_value(s, key));
}

// Only LF ends a line; a line also ends at its 80th character, where the console wraps.
void outchar(InterpreterState& s, std::uint8_t ch) {
  append_cell(s, ch, text_colour(s));
  ++s.block_column;
  if (ch == 10 || s.block_column >= kColumns) {
    s.block_column = 0;
    ++s.block_lines;
    nextpage(s);
  }
}

void outtext(InterpreterState& s, std::string_view text) {
  // A watched check hears the colour read once a text, not once a character.
  if (s.check_observer && !text.empty()) [[unlikely]]
    s.check_observer->lookup(s, "$styletextcolor");
  for (char c : text)
    outchar(s, static_cast<std::uint8_t>(c));
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
