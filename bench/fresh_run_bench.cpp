// The cost of one whole run of a small quest inside the process: a fresh interpreter
// record, start-up, the quest read, two choices played with a scripted console until the
// keys run out. Fuzzing runs this once per input, so it should stay well under a
// millisecond.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "UTypes/console/scripted/scripted_console.h"
#include "UTypes/media/media_player.h"
#include "UTypes/state/interpreter_state.h"
#include "program/startup.h"
#include "quest_on_disk.h"

namespace tindel {
namespace {

const char* const kSmallQuest =
    ":start\r\n"
    "instr name = Ann\r\n"
    "n = 3\r\n"
    "pln Welcome, #%name$!\r\n"
    "if n > 2 then pln Three or more.\r\n"
    "inv + lamp\r\n"
    "btn hall, Go to the hall\r\n"
    "btn start, Stay\r\n"
    "end\r\n"
    ":hall\r\n"
    "n = n + 1\r\n"
    "p You have #n$ coins\r\n"
    "pln .\r\n"
    "if lamp > 0 then pln The lamp is lit. else pln It is dark.\r\n"
    "btn start, Back\r\n"
    "end\r\n"
    ":common\r\n"
    "visits = visits + 1\r\n"
    "end\r\n";

// One run in the given mode; false when it did not end as it should.
bool run_once(const std::string& mode, const std::string& path) {
  auto s = std::make_unique<InterpreterState>();
  ScriptedConsole console;
  console.add_keys({13, 13});
  SilentMedia media;
  RunResult result = run_program(*s, {mode, "w", path}, {console, media, 1u});
  const std::string& screen = console.transcript();
  if (mode == "0") return screen.find("The lamp is lit.") != std::string::npos;
  return result.status == 0 && screen.find("is checked!") != std::string::npos;
}

void BM_FreshRunOfASmallQuest(benchmark::State& state, const char* mode) {
  const bench::QuestOnDisk quest(kSmallQuest);
  for (auto _ : state) {
    if (!run_once(mode, quest.path())) {
      state.SkipWithError("the small quest did not run as expected");
      break;
    }
  }
}
BENCHMARK_CAPTURE(BM_FreshRunOfASmallQuest, play, "0")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FreshRunOfASmallQuest, check, "3")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tindel
