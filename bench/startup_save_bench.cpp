// Start-up with a 4 MB quest to its first menu, inside the process (the quest read and
// checked for its line ends, the first location run), and one `save` with the variable
// table full: put together alone, and written to disk as the statement does it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "UTypes/console/scripted/scripted_console.h"
#include "UTypes/media/media_player.h"
#include "UTypes/saves/savegame.h"
#include "UTypes/state/interpreter_state.h"
#include "figure_quests.h"
#include "program/startup.h"
#include "quest_on_disk.h"

namespace tindel {
namespace {

constexpr std::size_t kLargeQuest = 4u << 20;

void BM_StartUpToTheFirstMenu(benchmark::State& state) {
  const bench::QuestOnDisk quest(bench::statement_dense_quest(kLargeQuest));
  for (auto _ : state) {
    auto s = std::make_unique<InterpreterState>();
    ScriptedConsole console;  // no keys: the run ends at the first menu
    SilentMedia media;
    run_program(*s, {"0", "w", quest.path()}, {console, media, 1u});
    if (console.transcript().find("Room 0") == std::string::npos) {
      state.SkipWithError("the first location was not shown");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLargeQuest));
}
BENCHMARK(BM_StartUpToTheFirstMenu)->Unit(benchmark::kMillisecond);

// 740 slots in use, as the save figure has them: names of a few letters, values with decimals.
std::unique_ptr<InterpreterState> full_table() {
  auto s = std::make_unique<InterpreterState>();
  s->quest_name = "quest.qst";
  s->common_name = "common";
  for (int slot = kLastSlot - 740; slot <= kLastSlot; ++slot) {
    auto at = static_cast<std::size_t>(slot);
    s->var_names[at] = "$filler" + std::to_string(slot);
    s->var_values[at] = slot + 0.25;
  }
  return s;
}

void BM_SavedGameTextOfAFullTable(benchmark::State& state) {
  auto s = full_table();
  for (auto _ : state)
    benchmark::DoNotOptimize(saved_game_text(*s, "start", kSaveHeader));
}
BENCHMARK(BM_SavedGameTextOfAFullTable)->Unit(benchmark::kMicrosecond);

// The whole save: the text, one write into the file beside save.txt, the rename over it.
void BM_SaveOfAFullTable(benchmark::State& state) {
  auto s = full_table();
  char folder[] = "/tmp/tindel-bench-save-XXXXXX";
  if (::mkdtemp(folder) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string file = std::string(folder) + "/save.txt";
  for (auto _ : state)
    savegame(*s, file, "start", kSaveHeader);
  std::remove(file.c_str());
  ::rmdir(folder);
}
BENCHMARK(BM_SaveOfAFullTable)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tindel
