#include "UTypes/statements/data_statements.h"

#include <string>
#include <vector>

#include "UTypes/console/console_ops.h"
#include "UTypes/console/text_block.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/eval/expression.h"
#include "UTypes/eval/numeric.h"
#include "UTypes/eval/string_expr.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/media/media_file.h"
#include "UTypes/media/media_player.h"
#include "UTypes/saves/savegame.h"
#include "UTypes/source/scanner.h"

namespace tindel {

namespace {

using K = TokenKind;

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

void clear_slot(InterpreterState& s, int i) {
  s.var_names[static_cast<std::size_t>(i)].clear();
  s.var_values[static_cast<std::size_t>(i)] = 0.0;
}

// "\r\n<line>:<pos> music <3.mid>\r\n" into the text block, in every mode.
void media_echo(InterpreterState& s, const char* word, const std::string& file) {
  outtext(s, "\r\n" + inttostr(s.line_no) + ":" + inttostr(s.line_pos) + word + file + ">\r\n");
}

// Whether a media file is there; a missing one is told to the player (for its log), and the
// quest goes on without it. what: "music", "sound" or "picture".
bool media_present(InterpreterState& s, const char* what, const std::string& path) {
  if (media_file_exists(path)) return true;
  s.media->file_missing(what, path);
  return false;
}

// "=" expr, after a keyword; the value truncated to an integer.
std::int32_t equals_expression(InterpreterState& s, const char* message) {
  gettoken(s);
  if (s.token_kind != K::Equal) reporterror(s, message);
  gettoken(s);
  return to_int32(expression(s));
}

// The string variables and their text slots, found by the slots that point at each other:
// the bulk removals go by what a slot is, never by what its text looks like.
std::vector<int> string_partners(const InterpreterState& s) {
  std::vector<int> partner(kVarSlots, -1);
  for (int i = kLastSlot; i >= 0; --i) {
    if (partner[static_cast<std::size_t>(i)] >= 0) continue;
    if (!s.var_names[static_cast<std::size_t>(i)].view().starts_with('%')) continue;
    if (s.var_values[static_cast<std::size_t>(i)] == 0.0) continue;
    int t = text_slot_of(s, i);
    if (t < 0 || t == i || partner[static_cast<std::size_t>(t)] >= 0) continue;
    if (text_slot_of(s, t) != i) continue;
    partner[static_cast<std::size_t>(i)] = t;
    partner[static_cast<std::size_t>(t)] = i;
  }
  return partner;
}

// The table's key of an assigned name: ";ITEM" for "inv_ITEM", "$NAME" for any other.
std::string assigned_key(std::string_view name) {
  const bool item = name.starts_with("inv_");
  std::string key(1, item ? ';' : '$');
  key.append(item ? name.substr(4) : name);
  return key;
}

}  // namespace

// NAME "=" expr — "inv_" + ITEM sets an item count; image also shows a picture
void assignment(InterpreterState& s) {
  std::string key = assigned_key(s.token_text);
  if (s.token_kind != K::Equal) reporterror(s, "[parser] \"=\" expected");
  gettoken(s);
  double value = expression(s);
  var_value(s, key) = value;
  if (key != "$image") return;
  std::int32_t n = to_int32(value);
  std::string file = inttostr(n) + ".jpg";
  std::string path = s.charset.file_name(file);
  if (n > 0 && s.syntax_level == 0 && media_present(s, "picture", path)) s.media->showimage(path);
  media_echo(s, " image <", file);
}

namespace {

// "+" or "-" after inv: the sign of the count.
double inv_sign(InterpreterState& s) {
  if (s.token_kind == K::Plus) return 1.0;
  if (s.token_kind == K::Minus) return -1.0;
  reporterror(s, "[inv_] \"+\" or \"-\" expected");
}

// count "," ITEM — the count is an expression whose first operand is the number already read
double inv_count(InterpreterState& s) {
  double n = to_int32(expression(s));
  if (s.token_kind != K::Comma) reporterror(s, "[inv_] \",\" expected");
  gettoken(s);
  if (s.token_text.empty()) reporterror(s, "[inv_] IDENT expected");
  return n;
}

}  // namespace

// inv ("+" | "-") [count ","] ITEM
void inv_statement(InterpreterState& s) {
  gettoken(s);
  double sign = inv_sign(s);
  gettoken(s);
  if (s.token_text.empty()) reporterror(s, "[inv_] NUMBER or IDENT expected");
  double n = is_digit(s.token_text[0]) ? inv_count(s) * sign : sign;
  var_value(s, ";" + s.token_text) += n;
}

// instr NAME "=" text
void instr_statement(InterpreterState& s) {
  gettoken(s);
  if (s.token_text.empty()) reporterror(s, "[instr] IDENT expected");
  int v = getvar(s, "%" + s.token_text);
  // A distance that points outside the table (a saved game edited by hand) is not followed:
  // the text is then dropped.
  int t = ensure_text_slot(s, v);
  string(s);
  if (t >= 0) s.var_names[static_cast<std::size_t>(t)] = s.str_result;
  gettoken(s);
}

// invkill [ITEM]
void invkill_statement(InterpreterState& s) {
  gettoken(s);
  if (!s.token_text.empty()) return clear_slot(s, getvar(s, ";" + s.token_text));
  std::vector<int> partner = string_partners(s);
  for (int i = s.var_boundary - 1; i >= 0; --i)
    if (partner[static_cast<std::size_t>(i)] < 0 &&
        s.var_names[static_cast<std::size_t>(i)].view().starts_with(';'))
      clear_slot(s, i);
}

namespace {

// perkill NAME: the numeric and the string variable of that name, not the item.
void perkill_one(InterpreterState& s, const std::string& name) {
  clear_slot(s, getvar(s, "$" + name));
  int v = getvar(s, "%" + name);
  int t = text_slot_of(s, v);
  if (t >= 0 && t != v && text_slot_of(s, t) == v) clear_slot(s, t);
  clear_slot(s, v);
}

// A numeric variable, a visit counter or a string variable: not empty, not an item.
bool is_variable_name(std::string_view name) {
  return !name.empty() && !name.starts_with(';');
}

// perkill: every variable below the boundary; items and the system's slots stay. A string
// variable goes with its text slot, whatever the text says; the pair of a system string
// variable has its other slot at or above the boundary and stays.
void perkill_all(InterpreterState& s) {
  std::vector<int> partner = string_partners(s);
  for (int i = s.var_boundary - 1; i >= 0; --i) {
    int other = partner[static_cast<std::size_t>(i)];
    if (other >= s.var_boundary) continue;
    if (other >= 0) {
      clear_slot(s, other);
      clear_slot(s, i);
    } else if (is_variable_name(s.var_names[static_cast<std::size_t>(i)].view())) {
      clear_slot(s, i);
    }
  }
}

}  // namespace

// perkill [NAME]
void perkill_statement(InterpreterState& s) {
  gettoken(s);
  if (s.token_text.empty()) return perkill_all(s);
  perkill_one(s, s.token_text);
}

// save [LABEL]
void save_statement(InterpreterState& s) {
  gettoken(s);
  std::string label = s.current_label;
  if (!s.token_text.empty()) {
    label = s.token_text;
    gettoken(s);
  }
  savegame(s, "save.txt", label, kSaveHeader);
  spend_statements(s, kLastSlot);  // a bounded run counts a save as the lines it writes
}

// common "=" expr — the common location becomes "common_<n>" for n above 0
void common_statement(InterpreterState& s) {
  std::int32_t n = equals_expression(s, "[common] \"=\" expected");
  if (n > 0) s.common_name = "common_" + inttostr(n);
}

// music "=" expr — tune <n>.mid, or silence for 0 and below
void music_statement(InterpreterState& s) {
  std::int32_t n = equals_expression(s, "[music] \"=\" expected");
  std::string file = inttostr(n) + ".mid";
  std::string path = s.charset.file_name(file);
  if (s.syntax_level == 0) {
    if (n <= 0) {
      s.media->playmidi(path, false);
    } else if (media_present(s, "music", path)) {
      s.media->playmidi(path, true);
      ++s.midi_device;
    }
  }
  media_echo(s, " music <", file);
}

// play text — the wave sound <text>.wav
void play_statement(InterpreterState& s) {
  string(s);
  if (s.str_result.empty()) reporterror(s, "[play] STRING expected");
  std::string file = s.str_result + ".wav";
  // The quest names it in CP866; the file system names it in the locale's charset.
  std::string path = s.charset.file_name(file);
  if (s.syntax_level == 0 && media_present(s, "sound", path)) s.media->playwave(path);
  media_echo(s, " play <", file);
  gettoken(s);
}

}  // namespace tindel
