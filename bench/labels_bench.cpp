// Jumps and checks over a large quest: a jump to a label near the end must cost about what a
// jump near the top costs, a check of every label reference (mode 3) about what a plain check
// (mode 2) costs, and a check must read the quest quickly.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "UTypes/console/console_ops.h"
#include "UTypes/console/scripted/scripted_console.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/media/media_player.h"
#include "UTypes/source/scanner.h"
#include "UTypes/statements/labels.h"
#include "program/startup.h"
#include "quest_generator.h"
#include "quest_on_disk.h"

namespace tindel {
namespace {

using bench::QuestOnDisk;

constexpr std::size_t kQuestBytes = 4u << 20;

// The shared generator's quest: its first location at the top, ":common" at the very end.
const bench::GeneratedQuest& locations() {
  static const bench::GeneratedQuest quest = bench::generate_quest_with_labels(kQuestBytes);
  return quest;
}

// A quest of at least `bytes` bytes, denser in label references than the shared one: rooms
// ":room<i>" with a few lines of text, three buttons and a goto each, every reference to a room
// that exists; ":common" last.
struct RoomQuest {
  std::string text;
  std::size_t rooms = 0;
  std::size_t references = 0;
};

std::string room(std::size_t i) {
  return "room" + std::to_string(i);
}

RoomQuest generate_rooms(std::size_t bytes) {
  RoomQuest q;
  std::size_t estimated_rooms = bytes / 400 + 1;
  for (std::size_t i = 0; q.text.size() < bytes; ++i, ++q.rooms) {
    std::size_t far = (i * 7919) % estimated_rooms;
    q.text += ":Room " + std::to_string(i) + "\r\n";
    q.text += "pln A quiet room, number #" + std::to_string(i) + "$; doors: lead on.\r\n";
    q.text += "p The walls are bare and the floor is old stone, worn by many feet.\r\n";
    q.text += "pln Somewhere water drips; the air is cool & visits = visits + 1\r\n";
    q.text += "; a note for the author: rooms are numbered in the order they are written\r\n";
    q.text += "btn " + room(i + 1) + ", Onward\r\n";
    q.text += "btn " + room(i / 2) + ", Back\r\n";
    q.text += "btn " + room(far) + ", Far away\r\n";
    q.text += "if visits > 3 then goto " + room(i + 1) + "\r\n";
    q.text += "end\r\n";
    q.references += 4;
  }
  for (std::size_t i = q.rooms; i <= std::max(q.rooms, estimated_rooms); ++i)
    q.text += ":" + room(i) + "\r\nend\r\n";  // every forward and far target exists
  q.text += ":common\r\nend\r\n";
  return q;
}

const RoomQuest& rooms() {
  static const RoomQuest quest = generate_rooms(kQuestBytes);
  return quest;
}

const QuestOnDisk& rooms_on_disk() {
  static const QuestOnDisk file(rooms().text);
  return file;
}

const QuestOnDisk& locations_on_disk() {
  static const QuestOnDisk file(locations().text);
  return file;
}

class NoMedia : public MediaPlayer {
 public:
  void playmidi(const std::string&, bool) override {}
  void playwave(const std::string&) override {}
  void showimage(const std::string&) override {}
  void stop_all() override {}
};

// A state as start-up leaves it over the quest, in play.
struct Player {
  std::unique_ptr<InterpreterState> s = std::make_unique<InterpreterState>();
  ScriptedConsole console;
  explicit Player(const std::string& path) {
    coninit(*s, console);
    create_system_variables(*s);
    s->quest_name = path;
    if (!s->quest_file.open(path)) throw std::runtime_error("quest not readable");
    getchar(*s);
  }
};

// Repeated jumps to the first location or to the last one.
void BM_Jump(benchmark::State& state) {
  Player player(locations_on_disk().path());
  std::string label = state.range(0) == 0 ? locations().labels.front() : "common";
  for (auto _ : state)
    gotolabel(*player.s, label);
}
BENCHMARK(BM_Jump)->Arg(0)->Arg(1)->ArgNames({"at_end"});

// The first jump of a run to the first location or to the last one: nothing remembered yet.
void BM_FirstJump(benchmark::State& state) {
  Player player(locations_on_disk().path());
  std::string label = state.range(0) == 0 ? locations().labels.front() : "common";
  for (auto _ : state) {
    player.s->jump_cache.clear();
    gotolabel(*player.s, label);
  }
}
BENCHMARK(BM_FirstJump)->Arg(0)->Arg(1)->ArgNames({"at_end"})->Unit(benchmark::kMillisecond);

// The whole program checking a quest: mode 2, or mode 3 with every reference looked up; over
// the dense rooms (quest 0) or the shared generator's locations (quest 1).
void BM_Check(benchmark::State& state) {
  const std::string mode = state.range(0) == 0 ? "2" : "3";
  bool dense = state.range(1) == 0;
  const std::string& path = dense ? rooms_on_disk().path() : locations_on_disk().path();
  for (auto _ : state) {
    auto s = std::make_unique<InterpreterState>();
    ScriptedConsole console;
    NoMedia media;
    RunResult result = run_program(*s, {mode, "w", path}, {console, media, 1});
    if (result.status != 0 || console.transcript().find("is checked!") == std::string::npos) {
      state.SkipWithError("the generated quest does not pass the check");
      break;
    }
  }
  std::size_t bytes = dense ? rooms().text.size() : locations().text.size();
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
  if (dense) state.counters["references"] = static_cast<double>(rooms().references);
}
BENCHMARK(BM_Check)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"mode3", "quest"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tindel
