#include "UTypes/console/menu.h"

#include <string_view>

#include "UTypes/charset/codepage.h"
#include "UTypes/console/console.h"
#include "UTypes/console/console_ops.h"
#include "UTypes/console/menu_entry.h"
#include "UTypes/console/text_block.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/eval/numeric.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/moments/play_control.h"
#include "UTypes/source/scanner.h"
#include "UTypes/state/nesting_guard.h"
#include "UTypes/state/program_end.h"
#include "UTypes/statements/labels.h"
#include "UTypes/statements/parser.h"

namespace tindel {

namespace {

// A timed call of n milliseconds runs n div 54 passes (at least one) of one 55 ms tick.
constexpr int kMsPerPass = 54;

struct MenuPass {
  int sel = 0;
  int entry_count = 0;
  bool use_added = false;
};

std::size_t at(int i) {
  return static_cast<std::size_t>(i);
}

// Where the run of cells from `first` that share its colour ends (one past it).
int colour_run_end(const InterpreterState& s, int first, int last) {
  int i = first;
  while (i <= last && s.block_colours[at(i)] == s.block_colours[at(first)])
    ++i;
  return i;
}

// Shows cells 0 to last of the text block, each run of cells in its own colour.
void show_block(InterpreterState& s, int last) {
  for (int i = 0; i <= last;) {
    int end = colour_run_end(s, i, last);
    s.text_attr = s.block_colours[at(i)];
    const char* chars = reinterpret_cast<const char*>(s.block_chars.data());
    conwrite(s, std::string_view(chars + i, at(end - i)));
    i = end;
  }
}

// The list below the text, the highlighted entry in the cursor colour and marked as the
// highlight, each entry after its prefix (a mark, a number); the cursor goes back above the
// list so that the next pass draws over the same lines. The console learns where the
// entries stand and which is highlighted (for clicks, and for a screen reader's cursor).
void draw_list(InterpreterState& s, int sel) {
  if (s.btn_count <= 0) {
    menu_entries(s, wherey(s), 0, 0);
    return;
  }
  for (int i = 0; i < s.btn_count; ++i) {
    s.text_attr = style_colour(s, "$stylebuttoncolor");
    conwrite(s, "\r\n");
    if (std::string prefix = entry_prefix(s, i, sel); !prefix.empty()) conwrite(s, prefix);
    std::string_view caption = s.btn_captions[at(i)].view();
    if (i == sel) {
      s.text_attr = style_colour(s, "$stylecursorcolor");
      conwrite_highlighted(s, caption);
    } else {
      conwrite(s, caption);
    }
  }
  s.text_attr = style_colour(s, "$styletextcolor");
  const int last_row = wherey(s);
  gotoxy(s, 1, last_row - s.btn_count);
  menu_entries(s, last_row - s.btn_count + 1, s.btn_count, sel);
}

// The menu no longer waits on its list: nothing on the screen is to be clicked.
void stop_offering(InterpreterState& s) {
  menu_entries(s, wherey(s), 0, 0);
}

// Blanks the lines of the list and puts the cursor back above them.
void erase_list(InterpreterState& s) {
  for (int i = 0; i < s.btn_count; ++i)
    conwrite(s, "\r\n" + std::string(70, ' '));
  gotoxy(s, 1, wherey(s) - s.btn_count);
}

// An item held: a ";" slot with a count above 0 that is not a text that looks like one.
bool is_item(const InterpreterState& s, int slot) {
  auto i = at(slot);
  return s.var_names[i].view().starts_with(';') && s.var_values[i] > 0.0 &&
         !is_text_slot_of_string_variable(s, slot);
}

// "i": one line per item held, in descending slot order: "3. rope".
void list_inventory(InterpreterState& s) {
  for (int slot = kLastSlot; slot >= 1; --slot) {
    if (!is_item(s, slot)) continue;
    auto i = at(slot);
    conwriteln(s, inttostr(to_int32(s.var_values[i])) + ". " + s.var_names[i].str().substr(1));
  }
}

// "u": every "use_<item>..." label of every item held, appended as entries.
void add_use_actions(InterpreterState& s) {
  for (int slot = kLastSlot; slot >= 1; --slot) {
    if (!is_item(s, slot)) continue;
    std::string prefix = "use_" + s.var_names[at(slot)].str().substr(1);
    open_aux_on_quest(s);
    for (std::string found = findlabel(s, prefix, true); !found.empty();
         found = findlabel(s, prefix, true)) {
      if (s.btn_count >= kMaxButtons) continue;
      auto i = at(s.btn_count);
      s.btn_labels[i] = found;
      s.btn_captions[i] = found;
      ++s.btn_count;
    }
    s.aux_file.close();
  }
}

// Runs a use action once: as a procedure, statement by statement, then shows its text.
void run_use_action(InterpreterState& s, int sel) {
  auto& caption = s.btn_captions[at(sel)];
  if (caption.empty() || caption[0] != 'u') return;
  caption.set(0, '+');
  NestingGuard level(s, s.menu_depth, "[menu] STACK OUT");
  std::int32_t depth = s.call_depth;
  s.quest_file.recheck_disk();
  call(s, s.btn_labels[at(sel)].str());
  gettoken(s);
  while (s.call_depth != depth && s.token_kind != TokenKind::Eof)
    parser(s);
  menu(s, -1);
}

// An untimed menu blocks until a key comes (nothing changes on the screen meanwhile); a
// timed one sleeps one tick and takes a key only if one waits.
std::uint8_t next_key(InterpreterState& s, bool timed) {
  if (!timed) return s.con_in->waitkey();
  menutick(s);
  return readkey(s);
}

// "i" lists the inventory and "u" appends the use actions (once per call), each where the
// list was; Enter on a use action clears the list before the action prints.
void inventory_keys(InterpreterState& s, MenuPass& pass, std::uint8_t k) {
  if (k == 'i' || k == 'u' || (k == key::kEnter && pass.sel >= pass.entry_count)) erase_list(s);
  if (k == 'i') list_inventory(s);
  if (k == 'u' && !pass.use_added) {
    add_use_actions(s);
    pass.use_added = true;
  }
}

// Up and Down wrap around the list; Enter takes a button or runs a use action. True when a
// button is chosen.
bool list_keys(InterpreterState& s, MenuPass& pass, std::uint8_t k, std::string& choice) {
  if (k == 'h') pass.sel = pass.sel == 0 ? s.btn_count - 1 : pass.sel - 1;
  if (k == 'p') pass.sel = pass.sel >= s.btn_count - 1 ? 0 : pass.sel + 1;
  if (k != key::kEnter) return false;
  if (pass.sel < pass.entry_count) {
    choice = s.btn_labels[at(pass.sel)].str();
    return true;
  }
  stop_offering(s);
  run_use_action(s, pass.sel);
  return false;
}

// With a Russian keyboard layout the keys of i, u, h and p type ш, г, р and з; the menu takes
// them (already lower-cased) as those letters.
std::uint8_t latin_layout_key(std::uint8_t k) {
  switch (k) {
    case 0xE8:
      return 'i';  // ш
    case 0xA3:
      return 'u';  // г
    case 0xE0:
      return 'h';  // р
    case 0xA7:
      return 'p';  // з
    default:
      return k;
  }
}

// One key of a pass; true when the choice is made. A number's digit is Enter on its entry.
bool handle_key(InterpreterState& s, MenuPass& pass, std::uint8_t k, std::string& choice) {
  moment_key(s, k);
  if (int entry = numbered_entry(s, k); entry >= 0) {
    pass.sel = entry;
    k = key::kEnter;
  }
  inventory_keys(s, pass, k);
  if (k == key::kEscape) {
    stop_offering(s);
    reporterror(s, "[menu] ESC", exit_status::kOk);
  }
  if (s.btn_count <= 0) return false;
  return list_keys(s, pass, k, choice);
}

// Draws the list and takes keys until a choice, or until a timed call's passes are used up.
std::string choose(InterpreterState& s, std::int32_t n) {
  bool timed = n > 0;
  int ticks = timed ? n / kMsPerPass : 0;
  MenuPass pass{0, s.btn_count, false};
  std::string choice;
  for (;;) {
    draw_list(s, pass.sel);
    std::uint8_t k = lowcase(next_key(s, timed));
    --ticks;
    s.last_key = k;
    if (handle_key(s, pass, latin_layout_key(k), choice) || (timed && ticks <= 0)) {
      stop_offering(s);
      return choice;
    }
  }
}

}  // namespace

std::string menu(InterpreterState& s, std::int32_t n) {
  int last = s.block_count - 1;
  s.block_count = s.block_column = s.block_lines = 0;
  if (s.syntax_level != 0) return {};
  show_block(s, last);
  if (n < 0) return {};
  std::string choice = choose(s, n);
  // A choice is where an edit of the quest on disk takes effect: the jump after it looks.
  s.quest_file.recheck_disk();
  // The list stays on the screen; the cursor goes below it, two empty lines after it.
  if (s.btn_count > 0)
    for (int i = 0; i < s.btn_count + 3; ++i)
      conwriteln(s, "");
  return choice;
}

}  // namespace tindel
