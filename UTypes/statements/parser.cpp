#include "UTypes/statements/parser.h"

#include <string>

#include "UTypes/console/console.h"
#include "UTypes/console/console_ops.h"
#include "UTypes/console/menu.h"
#include "UTypes/console/text_block.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/eval/expression.h"
#include "UTypes/eval/numeric.h"
#include "UTypes/eval/operand.h"
#include "UTypes/eval/string_expr.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/moments/play_control.h"
#include "UTypes/source/scanner.h"
#include "UTypes/state/program_end.h"
#include "UTypes/statements/data_statements.h"
#include "UTypes/statements/labels.h"

namespace tindel {

namespace {

using K = TokenKind;

// Skips the rest of the line and steps past its end.
void skip_rest_of_line(InterpreterState& s) {
  while (s.cur_char < kEndOfFile)
    getchar(s);
  getchar(s);
}

// The text of the system string variable current_loc.
void set_current_loc(InterpreterState& s, const std::string& label) {
  int t = text_slot_of(s, getvar(s, "%current_loc"));
  if (t >= 0) s.var_names[static_cast<std::size_t>(t)] = label;
}

// p text | pln text
void print_statement(InterpreterState& s) {
  bool line = s.token_kind == K::Pln;
  string(s);
  std::string text = s.str_result;
  // The line break goes to the screen only: kept out of str_result, it would split the
  // trace line of this statement and of every one after it in two.
  if (line) text += "\r\n";
  outtext(s, text);
  gettoken(s);
}

// btn LABEL "," text
void btn_statement(InterpreterState& s) {
  gettoken(s);
  auto slot = static_cast<std::size_t>(s.btn_count);
  s.btn_labels[slot] = s.token_text;
  if (s.syntax_level == 2) check_label(s, s.btn_labels[slot].str());
  if (s.token_kind != K::Comma) reporterror(s, "[btn] \",\" expected");
  string(s);
  s.btn_captions[slot] = s.str_result;
  if (s.btn_count < kMaxButtons) {
    ++s.btn_count;
  } else if (s.syntax_level != 0) {
    warning(s, ",  TOO LARGE MENU LIST");
  }
  nextpage(s);
  gettoken(s);
}

// if expr then statements — a false condition skips the line; an "else" line follows it
void if_statement(InterpreterState& s) {
  gettoken(s);
  bool holds = expression(s) > 0.0;
  if (holds || s.syntax_level != 0) {
    if (s.token_kind != K::Then) reporterror(s, "[if] \"THEN\" expected");
    return gettoken(s);
  }
  skip_rest_of_line(s);
  do {
    gettoken(s);
  } while (s.token_kind == K::Newline && s.token_text.empty());
  if (s.token_kind == K::Else) gettoken(s);
}

// else statements — reached by running, its line is skipped (the then part ran)
void else_statement(InterpreterState& s) {
  if (s.syntax_level == 0) {
    skip_rest_of_line(s);
    return gettoken(s);
  }
  if (s.line_pos > 5) warning(s, ",  <ELSE>  pos(" + inttostr(s.line_pos) + ")");
  gettoken(s);
}

// goto LABEL
void goto_statement(InterpreterState& s) {
  gettoken(s);
  gotolabel(s, s.token_text);
  gettoken(s);
}

// proc LABEL — returns to the next line, or, when more follows on its line, to the point
// right after itself: the return reads the label again and its delimiter becomes current.
void proc_statement(InterpreterState& s) {
  ReaderMark before_label = reader_mark(s);
  gettoken(s);
  std::string label = s.token_text;
  bool ends_line = s.token_kind == K::Newline;
  if (s.syntax_level != 0 && !ends_line) warning(s, ",  <PROC>");
  call(s, label, ends_line ? nullptr : &before_label);
  gettoken(s);
}

// The menu of a location's end: its choice jumps on, then the common location runs.
void choose_next_location(InterpreterState& s) {
  std::string label = menu(s, 0);
  s.str_result = label;
  s.btn_count = 0;
  s.current_label = label;
  set_current_loc(s, label);
  if (s.syntax_level == 0) gotolabel(s, label);
  call(s, s.common_name);
}

// Where a location ends.
void close_location(InterpreterState& s) {
  gettoken(s);
  outtext(s, "\r\n");
  keep_moment(s, MenuWait{true, 0});
  choose_next_location(s);
}

// end
void end_statement(InterpreterState& s) {
  if (s.call_depth <= 0) return close_location(s);
  if (s.syntax_level == 0) return_from_call(s);
  gettoken(s);
}

// The menu of a pause: a choice jumps; without one the statements after it go on.
void wait_at_pause(InterpreterState& s, std::int32_t ms) {
  std::string label = menu(s, ms);
  s.str_result = label;
  s.btn_count = 0;
  if (label.empty()) return;
  set_current_loc(s, label);
  gotolabel(s, label);
  s.current_label = label;
}

// pause expr
void pause_statement(InterpreterState& s) {
  gettoken(s);
  std::int32_t ms = to_int32(expression(s));
  keep_moment(s, MenuWait{false, ms});
  wait_at_pause(s, ms);
}

// anykey [NAME]
void anykey_statement(InterpreterState& s) {
  menu(s, -1);
  if (s.syntax_level == 0) {
    std::uint8_t k = key::kNone;
    while (k == key::kNone)
      k = s.con_in->waitkey();
    s.last_key = k;
  }
  gettoken(s);
  if (s.token_text.empty()) return;
  var_value(s, "$" + s.token_text) = s.last_key;
  gettoken(s);
}

std::string read_player_line(InterpreterState& s) {
  auto line = s.con_in->readline();
  if (!line) throw ProgramEnd{exit_status::kOk, "tindel: input ended"};
  return *line;
}

// A number is read as the first word of a line; the rest of the line is dropped.
std::string first_word(const std::string& line) {
  std::size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos) return {};
  std::size_t end = line.find_first_of(" \t", start);
  return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// input NAME — a line into a string variable, or a number into a numeric one
void input_statement(InterpreterState& s) {
  menu(s, -1);
  gettoken(s);
  if (s.token_text.empty()) reporterror(s, "[input] IDENT expected");
  if (s.syntax_level != 0) return;
  int v = getvar(s, "%" + s.token_text);
  if (s.var_values[static_cast<std::size_t>(v)] != 0.0) {
    std::string line = read_player_line(s);
    int t = text_slot_of(s, v);
    if (t >= 0) s.var_names[static_cast<std::size_t>(t)] = line;
    return;
  }
  double number = 0.0;
  while (!parse_decimal(first_word(read_player_line(s)), number)) {
  }
  var_value(s, "$" + s.token_text) = number;
}

// cls
void cls_statement(InterpreterState& s) {
  if (s.syntax_level == 0) {
    s.text_attr = style_colour(s, "$styletextcolor");
    clrscr(s);
  }
  gettoken(s);
}

void dispatch(InterpreterState& s) {
  switch (s.token_kind) {
    case K::Newline:
    case K::Amp:
    case K::Eof:
      if (!s.token_text.empty()) return assignment(s);  // a bare name: "=" expected
      return gettoken(s);
    case K::P:
    case K::Pln:
      return print_statement(s);
    case K::Btn:
      return btn_statement(s);
    case K::If:
      return if_statement(s);
    case K::Else:
      return else_statement(s);
    case K::Goto:
      return goto_statement(s);
    case K::Proc:
      return proc_statement(s);
    case K::End:
      return end_statement(s);
    case K::Pause:
      return pause_statement(s);
    case K::Anykey:
      return anykey_statement(s);
    case K::Inv:
      return inv_statement(s);
    case K::Instr:
      return instr_statement(s);
    case K::Input:
      return input_statement(s);
    case K::Invkill:
      return invkill_statement(s);
    case K::Perkill:
      return perkill_statement(s);
    case K::Save:
      return save_statement(s);
    case K::Cls:
      return cls_statement(s);
    case K::Common:
      return common_statement(s);
    case K::Music:
      return music_statement(s);
    case K::Play:
      return play_statement(s);
    default:
      if (s.token_text.empty()) reporterror(s, "[parser] UNKNOW command");
      return assignment(s);
  }
}

bool is_separator(TokenKind kind) {
  return kind == K::Newline || kind == K::Amp || kind == K::Eof;
}

// The statements that stop on the token after their last name or expression, without
// reading further; `end` too, whose return may read a label again.
bool ends_on_its_operand(TokenKind kind) {
  switch (kind) {
    case K::Inv:
    case K::Input:
    case K::Invkill:
    case K::Perkill:
    case K::Common:
    case K::Music:
    case K::Pause:
    case K::End:
      return true;
    default:
      return false;
  }
}

// The operand text in front of the separator that ends such a statement is its own; only a
// word that a separator reads begins the next statement (and alone is a bare name).
void drop_own_operand(InterpreterState& s) {
  if (is_separator(s.token_kind)) s.token_text.clear();
}

}  // namespace

bool begins_statement(TokenKind kind) {
  switch (kind) {
    case K::P:
    case K::Pln:
    case K::Btn:
    case K::If:
    case K::Else:
    case K::Goto:
    case K::Proc:
    case K::End:
    case K::Pause:
    case K::Anykey:
    case K::Inv:
    case K::Instr:
    case K::Input:
    case K::Invkill:
    case K::Perkill:
    case K::Save:
    case K::Cls:
    case K::Common:
    case K::Music:
    case K::Play:
      return true;
    default:
      return false;
  }
}

void wait_at_menu_again(InterpreterState& s, MenuWait wait) {
  if (wait.location_end)
    choose_next_location(s);
  else
    wait_at_pause(s, wait.pause_ms);
}

void parser(InterpreterState& s) {
  if (s.statements_left == 0) throw ProgramEnd{exit_status::kOk, "tindel: statement limit reached"};
  if (s.statements_left > 0) --s.statements_left;
  TokenKind kind = s.token_kind;
  bool assigns = is_separator(kind) ? !s.token_text.empty() : !begins_statement(kind);
  dispatch(s);
  if (s.log_on) trace(s);
  if (assigns || ends_on_its_operand(kind)) drop_own_operand(s);
}

}  // namespace tindel
