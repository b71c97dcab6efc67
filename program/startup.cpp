#include "program/startup.h"

#include <chrono>
#include <optional>

#include "UTypes/console/console.h"
#include "UTypes/console/console_ops.h"
#include "UTypes/console/menu.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/media/media_player.h"
#include "UTypes/moments/moments_file.h"
#include "UTypes/moments/play_control.h"
#include "UTypes/saves/savegame.h"
#include "UTypes/source/quest_file.h"
#include "UTypes/source/scanner.h"
#include "UTypes/state/program_end.h"
#include "UTypes/statements/labels.h"
#include "UTypes/statements/parser.h"
#include "program/command_line.h"
#include "program/play_moments.h"

namespace tindel {

namespace {

void set_up_console(InterpreterState& s, Platform& platform) {
  coninit(s, platform.console);
  showcursor(s, true);
  s.text_attr = 7;
  clrscr(s);
  conwrite(s, kBannerLine);
  conwrite(s, kUsageText);
}

void fill_token_names(InterpreterState& s) {
  for (int i = 0; i < kTokenKinds; ++i)
    s.token_names[static_cast<std::size_t>(i)] = default_token_name(static_cast<TokenKind>(i));
}

std::string quest_name_in(const std::vector<std::string>& args) {
  if (args.size() == 3) return args[2];
  return names_quest_file(args) ? args[0] : "stackle.qst";
}

// Modes "2" to "5" and the code page count only with exactly three parameters.
void read_command_line(InterpreterState& s, const std::vector<std::string>& args) {
  s.syntax_level = 0;
  s.codepage_w = true;
  s.log_on = false;
  s.common_name = "common";
  s.quest_name = quest_name_in(args);
  if (args.size() != 3) return;
  const std::string& mode = args[0];
  if (mode == "2") s.syntax_level = 1;
  if (mode == "3") s.syntax_level = 2;
  if (mode == "4" || mode == "5") {
    if (mode == "4") s.syntax_level = 2;
    s.log_on = true;
    open_log(s);
  }
  if (args[1] == "d" || utf8_codepage(args)) s.codepage_w = false;
}

std::uint32_t clock_seed() {
  auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks) & 0xFFFFFFFFu);
}

void reset_counters(InterpreterState& s) {
  s.call_depth = 0;
  s.line_no = 1;
  s.line_pos = 0;
  s.block_count = s.block_column = s.block_lines = 0;
  s.btn_count = 0;
}

// ".qs1" only when the four characters from the first "." are exactly that.
bool is_qs1_name(const std::string& name) {
  auto dot = name.find('.');
  return name.substr(dot == std::string::npos ? 0 : dot, 4) == ".qs1";
}

void resume_saved_game(InterpreterState& s, const std::vector<std::string>& args) {
  if (args.empty()) return;
  if (args[0] == "6") {
    s.log_on = true;
    open_log(s);
  }
  if (args[0] != "1" && args[0] != "6") return;
  loadgame(s, "save.txt");
  gotolabel(s, s.current_label);
}

// In a file with CR LF line ends a lone LF is a blank, which is seldom what the author meant.
void warn_of_lone_lf(InterpreterState& s) {
  std::int32_t line = s.quest_file.image()->lone_lf_line;
  if (s.syntax_level != 0 && line != 0)
    conwriteln(s, "warning: STR " + inttostr(line) + ",  LF WITHOUT CR");
}

// At the end of the quest file: a check is complete; a game shows its last text and ends.
bool at_quest_end(const InterpreterState& s) {
  if (s.token_kind != TokenKind::Eof) return false;
  return s.syntax_level != 0 || s.cur_char == kEndOfFile;
}

// The main loop, from the first statement or from a menu that waits again after Back or
// continuing; Back throws out of the statement that waits and comes in here again.
void play(InterpreterState& s, std::optional<MenuWait> waiting) {
  for (;;) {
    try {
      if (waiting)
        wait_at_menu_again(s, *waiting);
      else
        parser(s);
      while (!at_quest_end(s))
        parser(s);
      return;
    } catch (const ReturnToMoment& back) {
      waiting = back.wait;
    }
  }
}

QuestTextForm quest_text_form(const std::vector<std::string>& args, const std::string& quest_name) {
  return {utf8_codepage(args), is_qs1_name(quest_name)};
}

void open_quest(InterpreterState& s, const std::vector<std::string>& args) {
  QuestTextForm form = quest_text_form(args, s.quest_name);
  s.quest_file.set_text_form(form);
  s.aux_file.set_text_form(form);
  if (!s.quest_file.open(s.quest_name)) {
    conwriteln(s, "file <" + shown_quest_name(s) + "> not found");
    throw ProgramEnd{exit_status::kScriptError, ""};
  }
  s.qs1_file = is_qs1_name(s.quest_name);
}

void run(InterpreterState& s, const std::vector<std::string>& args, Platform& platform,
         std::string& notice) {
  set_up_console(s, platform);
  fill_token_names(s);
  read_command_line(s, args);
  s.random.seed(platform.seed ? *platform.seed : clock_seed());
  create_system_variables(s);
  reset_counters(s);
  open_quest(s, args);
  warn_of_lone_lf(s);
  getchar(s);
  PlayMoments moments(s, platform.moments);
  std::optional<MenuWait> waiting = moments.start(s);
  if (!moments.problem().empty()) {
    notice = moments.problem();
    conwriteln(s, notice);
  }
  if (!waiting) {
    resume_saved_game(s, args);
    gettoken(s);
  }
  play(s, waiting);
  if (s.syntax_level != 0) {
    conwriteln(s, "syntax <" + shown_quest_name(s) + "> is checked!");
  } else {
    menu(s, -1);
  }
}

// A restart begins as a fresh start would: nothing of the game before it stays.
void prepare_restart(InterpreterState& s, Platform& platform) {
  platform.media.stop_all();
  s.current_label.clear();
  s.last_key = 0;
  platform.moments.continue_game = false;
  platform.moments.offer_continue = false;
  platform.moments.history.clear();
}

}  // namespace

std::string continue_problem(const std::vector<std::string>& args,
                             const std::string& moments_path) {
  auto bytes = read_moments_file(moments_path);
  if (!bytes) return {};
  const std::string quest_name = quest_name_in(args);
  auto image = load_quest_image(quest_name, quest_text_form(args, quest_name));
  if (!image) return "of a quest that cannot be read";
  return moment_in_file_bytes(*bytes, quest_identity(image->bytes)).problem;
}

RunResult run_program(InterpreterState& s, const std::vector<std::string>& args,
                      Platform platform) {
  s.media = &platform.media;
  s.charset = platform.charset;
  s.accessible = platform.accessible;
  RunResult result;
  std::string notice;
  for (bool restart = true; restart;) {
    restart = false;
    try {
      run(s, args, platform, notice);
    } catch (const ProgramEnd& end) {
      result = RunResult{end.status, end.note};
    } catch (const RestartQuest&) {
      prepare_restart(s, platform);
      restart = true;
    }
  }
  if (!notice.empty()) result.note = result.note.empty() ? notice : notice + "\n" + result.note;
  platform.media.stop_all();
  platform.console.flush();
  if (s.log_file) {
    std::fclose(s.log_file);
    s.log_file = nullptr;
  }
  return result;
}

}  // namespace tindel
