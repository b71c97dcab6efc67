// The speed figures inside the process, beside the whole-process timings of scripts/bench-e2e:
// modes 2 and 3 on the 4 MB statement-dense, text-heavy and variable-heavy quests (bytes per
// second), and the play loop of a million passes (statements per second). Each run is a whole
// run_program: a fresh record, the quest read from disk, the check or the loop to its end.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "UTypes/console/scripted/scripted_console.h"
#include "UTypes/media/media_player.h"
#include "UTypes/state/interpreter_state.h"
#include "figure_quests.h"
#include "program/startup.h"
#include "quest_on_disk.h"

namespace tindel {
namespace {

constexpr std::size_t kCheckBytes = 4u << 20;
constexpr long kLoopPasses = 1000000;

// One run; false when the screen does not show what the run must end with.
bool run_once(const std::string& mode, const std::string& path, const std::string& expect) {
  auto s = std::make_unique<InterpreterState>();
  ScriptedConsole console;
  SilentMedia media;
  run_program(*s, {mode, "w", path}, {console, media, 1u});
  return console.transcript().find(expect) != std::string::npos;
}

void run_figure(benchmark::State& state, const std::string& quest, const std::string& mode,
                const std::string& expect) {
  const bench::QuestOnDisk file(quest);
  for (auto _ : state) {
    if (!run_once(mode, file.path(), expect)) {
      state.SkipWithError("the quest did not run to its end");
      break;
    }
  }
}

enum class Kind { kDense, kText, kVars };

std::string check_quest(Kind kind) {
  switch (kind) {
    case Kind::kDense:
      return bench::statement_dense_quest(kCheckBytes);
    case Kind::kText:
      return bench::text_heavy_quest(kCheckBytes);
    default:
      return bench::many_variables_quest(kCheckBytes, 700);
  }
}

void BM_FigureCheck(benchmark::State& state, Kind kind, const char* mode) {
  const std::string quest = check_quest(kind);
  run_figure(state, quest, mode, "is checked!");
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(quest.size()));
}
BENCHMARK_CAPTURE(BM_FigureCheck, dense_mode2, Kind::kDense, "2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FigureCheck, dense_mode3, Kind::kDense, "3")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FigureCheck, text_mode2, Kind::kText, "2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FigureCheck, text_mode3, Kind::kText, "3")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FigureCheck, vars_mode2, Kind::kVars, "2")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FigureCheck, vars_mode3, Kind::kVars, "3")->Unit(benchmark::kMillisecond);

// Statements per second, shown as items per second.
void BM_FigurePlayLoop(benchmark::State& state) {
  run_figure(state, bench::play_loop_quest(kLoopPasses), "0",
             std::to_string(kLoopPasses) + " passes");
  state.SetItemsProcessed(state.iterations() * kLoopPasses * bench::kPlayLoopStatementsPerPass);
}
BENCHMARK(BM_FigurePlayLoop)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tindel
