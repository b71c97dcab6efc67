// Reading speed of the scanner and the evaluator over a large generated quest.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

#include "UTypes/console/console_ops.h"
#include "UTypes/console/scripted/scripted_console.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/media/media_player.h"
#include "UTypes/source/scanner.h"
#include "program/startup.h"
#include "quest_generator.h"
#include "quest_on_disk.h"

namespace tindel::bench {
namespace {

constexpr std::size_t kQuestBytes = 4u << 20;

const QuestOnDisk& big_quest() {
  static const QuestOnDisk quest(generate_quest(kQuestBytes));
  return quest;
}

// A state as start-up leaves it over the quest, before the first character is read.
struct Reader {
  InterpreterState s;
  ScriptedConsole console;
  explicit Reader(const std::string& path) {
    coninit(s, console);
    create_system_variables(s);
    s.quest_name = path;
    if (!s.quest_file.open(path)) throw std::runtime_error("quest not readable");
  }
  void rewind() {
    s.quest_file.open(s.quest_name);
    s.line_no = 1;
    s.line_pos = 0;
    getchar(s);
  }
};

void BM_GetToken(benchmark::State& state) {
  Reader reader(big_quest().path());
  std::size_t bytes = reader.s.quest_file.image()->end;
  std::size_t tokens = 0;
  for (auto _ : state) {
    reader.rewind();
    do {
      gettoken(reader.s);
      ++tokens;
    } while (reader.s.token_kind != TokenKind::Eof);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes * state.iterations()));
  state.counters["tokens"] =
      benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GetToken)->Unit(benchmark::kMillisecond);

void BM_GetChar(benchmark::State& state) {
  Reader reader(big_quest().path());
  std::size_t bytes = reader.s.quest_file.image()->end;
  for (auto _ : state) {
    reader.rewind();
    while (reader.s.cur_char != kEndOfFile)
      getchar(reader.s);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes * state.iterations()));
}
BENCHMARK(BM_GetChar)->Unit(benchmark::kMillisecond);

// The whole program checking a 1 MB quest with its labels (mode 3): every statement is read
// and evaluated once; a report instead of the closing line fails the benchmark.
void BM_SyntaxCheck(benchmark::State& state) {
  static const QuestOnDisk quest(generate_quest(1u << 20));
  for (auto _ : state) {
    InterpreterState s;
    ScriptedConsole console;
    SilentMedia media;
    RunResult result = run_program(s, {"3", "w", quest.path()}, {console, media, 1});
    if (result.status != 0 || console.transcript().find("is checked!") == std::string::npos) {
      state.SkipWithError("the generated quest does not pass the check");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>((1u << 20) * state.iterations()));
}
BENCHMARK(BM_SyntaxCheck)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tindel::bench
