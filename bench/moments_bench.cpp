// Taking a moment of play at a menu, as every menu does while Back is on: on the bundled
// quest at its cottage, and with every slot of the variable table in use under the longest
// names. The counters give the bytes a moment keeps in memory and the size of the file that
// holds it for continuing later.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "UTypes/console/scripted/scripted_console.h"
#include "UTypes/media/media_player.h"
#include "UTypes/moments/moment_history.h"
#include "UTypes/moments/moments_file.h"
#include "UTypes/state/interpreter_state.h"
#include "program/startup.h"
#include "quest_on_disk.h"

namespace tindel {
namespace {

struct AtAMenu {
  std::unique_ptr<InterpreterState> s = std::make_unique<InterpreterState>();
  ScriptedConsole console;
  SilentMedia media;
};

// The bundled quest played to the cottage's menu (the run ends there, the keys used up).
std::unique_ptr<AtAMenu> bundled_quest_at_the_cottage() {
  std::ifstream in(std::string(TINDEL_SOURCE_DIR) + "/examples/stackle.qst", std::ios::binary);
  static const bench::QuestOnDisk quest(std::string(std::istreambuf_iterator<char>(in), {}));
  auto at = std::make_unique<AtAMenu>();
  at->console.add_keys({' ', 13, 13});
  at->console.add_line("Ann");
  run_program(*at->s, {"0", "w", quest.path()}, {at->console, at->media, 1u});
  return at;
}

std::unique_ptr<AtAMenu> full_table_at_the_cottage() {
  auto at = bundled_quest_at_the_cottage();
  for (int slot = 1; slot < at->s->var_boundary; ++slot) {
    auto i = static_cast<std::size_t>(slot);
    at->s->var_names[i] = "$" + std::string(62, static_cast<char>('a' + slot % 26));
    at->s->var_values[i] = slot + 0.25;
  }
  return at;
}

void take_moments(benchmark::State& state, AtAMenu& at) {
  MomentHistory history;
  std::string last;
  for (auto _ : state) {
    std::string moment = moment_to_bytes(take_moment(*at.s, MenuWait{}, at.console.screen_image()));
    last = moment;
    history.keep(std::move(moment));
  }
  std::size_t bytes = last.size();
  state.counters["moment_bytes"] = static_cast<double>(bytes);
  state.counters["moments_in_10MB"] = static_cast<double>(MomentHistory::kMaxBytes / bytes);
  std::string file = moments_file_bytes(quest_identity("quest"), last);
  state.counters["file_bytes"] = static_cast<double>(file.size());
}

void BM_MomentOfTheBundledQuest(benchmark::State& state) {
  auto at = bundled_quest_at_the_cottage();
  take_moments(state, *at);
}
BENCHMARK(BM_MomentOfTheBundledQuest)->Unit(benchmark::kMicrosecond);

void BM_MomentOfAFullTable(benchmark::State& state) {
  auto at = full_table_at_the_cottage();
  take_moments(state, *at);
}
BENCHMARK(BM_MomentOfAFullTable)->Unit(benchmark::kMicrosecond);

// Back: the bytes read again and the state put back.
void BM_BackToAFullTableMoment(benchmark::State& state) {
  auto at = full_table_at_the_cottage();
  std::string bytes = moment_to_bytes(take_moment(*at->s, MenuWait{}, at->console.screen_image()));
  for (auto _ : state)
    restore_moment(*at->s, moment_from_bytes(bytes).value());
}
BENCHMARK(BM_BackToAFullTableMoment)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tindel
