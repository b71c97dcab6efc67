// The page's entry: one game per instance of the module. The page calls tindel_play once; the
// game ends by returning from it, or, when the interpreter ends the program from deep inside
// (Escape's report, the end of the quest, an error report), through the hook below, which
// leaves the module: the page starts a fresh one for the next game.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

#include "UTypes/charset/codepage_detect.h"
#include "UTypes/console/web/web_console.h"
#include "UTypes/media/web/page_media.h"
#include "UTypes/moments/moment_history.h"
#include "UTypes/moments/play_control.h"
#include "UTypes/state/program_end.h"
#include "program/startup.h"
#include "web/browser_link.h"

// Tells the page how the game ended; the page keeps what must be kept and shows the end.
EM_JS(void, page_game_ends, (int status, const char* note),
      { Module.tindelPage.gameEnds(status, UTF8ToString(note)); });
// Back and restart leave the module too: the page plays on in a fresh one, from Back's
// history of moments (handed out as bytes) or from the beginning.
EM_JS(void, page_goes_back, (const char* history, int length),
      { Module.tindelPage.goesBack(HEAPU8.slice(history, history + length)); });
EM_JS(void, page_restarts, (), { Module.tindelPage.restarts(); });
// Unwinds the whole stack into the page, which drops the module.
EM_JS(void, page_leave_module, (), { throw Module.tindelPage.leaving; });

namespace {

tindel::Console* g_console = nullptr;
tindel::MediaPlayer* g_media = nullptr;
tindel::InterpreterState* g_state = nullptr;

// The moments of Back, newest (the one Back went to) last.
std::string back_history() {
  return g_state && g_state->moments ? g_state->moments->to_bytes() : std::string();
}

std::string file_bytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<std::uint32_t> seed_of(double page_seed) {
  if (!(page_seed >= 0 && page_seed <= 4294967295.0)) return std::nullopt;
  return static_cast<std::uint32_t>(page_seed);
}

}  // namespace

// The module is built without C++ exception handling (its price would be paid on every
// call of the interpreter). A throw comes here instead: the end of the program is reported
// after the screen is painted and the media stopped, as run_program would have done; Back
// (whose screen is painted here) hands the page its moments, and the tunes play on.
extern "C" [[noreturn]] void __cxa_throw(void* thrown, std::type_info* type, void (*)(void*)) {
  if (g_console) g_console->flush();
  if (*type == typeid(tindel::ReturnToMoment)) {
    const std::string history = back_history();
    page_goes_back(history.data(), static_cast<int>(history.size()));
    page_leave_module();
  }
  if (g_media) g_media->stop_all();
  if (*type == typeid(tindel::RestartQuest)) {
    page_restarts();
  } else if (*type == typeid(tindel::ProgramEnd)) {
    const auto* end = static_cast<const tindel::ProgramEnd*>(thrown);
    page_game_ends(end->status, end->note.c_str());
  } else {
    page_game_ends(70, "tindel: internal error");
  }
  page_leave_module();
  __builtin_unreachable();
}

// mode "0" plays, "1" resumes save.txt of the working folder; codepage "w", "d" or "u"; seed
// below 0: the random numbers are seeded from the clock; accessible non-zero: the accessible
// mode (each game has a module of its own, so the console is made for this game).
// back_keys non-zero: Backspace and Ctrl+R go back and restart. The last menu's moment is
// kept in moments_file; continue_game non-zero: the game starts there. history_file, when
// not empty, holds Back's history as the page was handed it: the game starts at its newest.
extern "C" EMSCRIPTEN_KEEPALIVE int tindel_play(const char* mode, const char* codepage,
                                                const char* quest_path, double seed, int accessible,
                                                int back_keys, const char* moments_file,
                                                int continue_game, const char* history_file) {
  static tindel::BrowserLink link;
  static tindel::WebConsole console(link, accessible != 0);
  static tindel::PageMedia media(link);
  g_console = &console;
  g_media = &media;
  auto state = std::make_unique<tindel::InterpreterState>();
  g_state = state.get();
  const std::vector<std::string> args{mode, codepage, quest_path};
  tindel::MomentOptions moments{.back_keys = back_keys != 0,
                                .keep_file = true,
                                .continue_game = continue_game != 0,
                                .file = moments_file,
                                .history = *history_file ? file_bytes(history_file) : ""};
  tindel::RunResult result = tindel::run_program(
      *state, args,
      {console, media, seed_of(seed), tindel::Charset(tindel::CharsetKind::kUtf8), accessible != 0,
       std::move(moments)});
  g_state = nullptr;
  page_game_ends(result.status, result.note.c_str());
  return result.status;
}

// Why the file of moments cannot continue the quest read in codepage; empty when it can.
extern "C" EMSCRIPTEN_KEEPALIVE const char* tindel_continue_problem(const char* codepage,
                                                                    const char* quest_path,
                                                                    const char* moments_file) {
  static std::string problem;
  problem = tindel::continue_problem({"0", codepage, quest_path}, moments_file);
  return problem.c_str();
}

// The code page of a quest file nobody gave one for: 'u', 'w' or 'd'.
extern "C" EMSCRIPTEN_KEEPALIVE int tindel_detect_codepage(const char* quest_path) {
  return tindel::detect_codepage(file_bytes(quest_path));
}
