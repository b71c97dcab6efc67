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
#include "UTypes/state/program_end.h"
#include "program/startup.h"
#include "web/browser_link.h"

// Tells the page how the game ended; the page keeps what must be kept and shows the end.
EM_JS(void, page_game_ends, (int status, const char* note),
      { Module.tindelPage.gameEnds(status, UTF8ToString(note)); });
// Unwinds the whole stack into the page, which drops the module.
EM_JS(void, page_leave_module, (), { throw Module.tindelPage.leaving; });

namespace {

tindel::Console* g_console = nullptr;
tindel::MediaPlayer* g_media = nullptr;

std::optional<std::uint32_t> seed_of(double page_seed) {
  if (!(page_seed >= 0 && page_seed <= 4294967295.0)) return std::nullopt;
  return static_cast<std::uint32_t>(page_seed);
}

}  // namespace

// The module is built without C++ exception handling (its price would be paid on every
// call of the interpreter). A throw comes here instead: the end of the program is reported
// after the screen is painted and the media stopped, as run_program would have done.
extern "C" [[noreturn]] void __cxa_throw(void* thrown, std::type_info* type, void (*)(void*)) {
  if (g_console) g_console->flush();
  if (g_media) g_media->stop_all();
  if (*type == typeid(tindel::ProgramEnd)) {
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
extern "C" EMSCRIPTEN_KEEPALIVE int tindel_play(const char* mode, const char* codepage,
                                                const char* quest_path, double seed,
                                                int accessible) {
  static tindel::BrowserLink link;
  static tindel::WebConsole console(link, accessible != 0);
  static tindel::PageMedia media(link);
  g_console = &console;
  g_media = &media;
  auto state = std::make_unique<tindel::InterpreterState>();
  const std::vector<std::string> args{mode, codepage, quest_path};
  tindel::RunResult result =
      tindel::run_program(*state, args,
                          {console, media, seed_of(seed),
                           tindel::Charset(tindel::CharsetKind::kUtf8), accessible != 0});
  page_game_ends(result.status, result.note.c_str());
  return result.status;
}

// The code page of a quest file nobody gave one for: 'u', 'w' or 'd'.
extern "C" EMSCRIPTEN_KEEPALIVE int tindel_detect_codepage(const char* quest_path) {
  std::ifstream in(quest_path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return tindel::detect_codepage(bytes);
}
