#pragma once
// Runs quest texts inside the test process: a temporary folder as the current directory,
// a scripted console, media calls recorded instead of played.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "UTypes/console/scripted/scripted_console.h"
#include "UTypes/media/media_player.h"
#include "UTypes/state/interpreter_state.h"
#include "program/startup.h"

namespace tindel::testing {

// "\n" line ends to the CR LF that quests use.
std::string crlf(const std::string& text);

// A fresh temporary folder made the current directory for the object's life.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  void write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
};

struct MediaCall {
  std::string what;  // "midi-start", "midi-stop", "wave", "image", "stop-all"
  std::string file;
  friend bool operator==(const MediaCall&, const MediaCall&) = default;
};

class RecordingMedia : public MediaPlayer {
 public:
  void playmidi(const std::string& file, bool start) override {
    calls.push_back({start ? "midi-start" : "midi-stop", file});
  }
  void playwave(const std::string& file) override { calls.push_back({"wave", file}); }
  void showimage(const std::string& file) override { calls.push_back({"image", file}); }
  void stop_all() override { calls.push_back({"stop-all", ""}); }
  std::vector<MediaCall> calls;
};

// One run of the whole program on a quest.
struct QuestRun {
  int status = 0;
  std::string note;
  std::unique_ptr<InterpreterState> state = std::make_unique<InterpreterState>();
  std::unique_ptr<ScriptedConsole> console = std::make_unique<ScriptedConsole>();
  RecordingMedia media;
  std::string screen() const { return console->transcript(); }
  // The screen without the banner and usage lines that every run begins with.
  std::string output() const;
};

struct RunOptions {
  std::vector<std::string> args = {"0", "w", "quest.qst"};
  std::function<void(ScriptedConsole&)> input = {};  // keys and lines for the run
  std::uint32_t seed = 1;
  bool convert_line_ends = true;      // "\n" in the quest text becomes CR LF
  std::int64_t statement_limit = -1;  // as the fuzz targets bound a run; -1: none
  MomentOptions moments = {};         // Back, restart, the file of moments: off
};

// Writes the quest under the name the run's parameters give it (stackle.qst without them).
void write_quest(const TempDir& dir, const std::string& quest, const RunOptions& options);

// Writes the quest as "quest.qst" (or the name in args) into dir and runs the program there.
QuestRun run_quest(const TempDir& dir, const std::string& quest, RunOptions options = {});

// An interpreter set up as start-up leaves it, reading `quest` (converted to CR LF) with
// the first character and token read, for testing one routine at a time.
class Interp {
 public:
  explicit Interp(const std::string& quest, int syntax_level = 0, bool convert_line_ends = true);
  InterpreterState& s() { return *state_; }
  ScriptedConsole& console() { return *console_; }
  RecordingMedia& media() { return media_; }
  // Runs `parser` until the end of the quest or a ProgramEnd; returns the ProgramEnd status
  // or -1 when the quest ran to its end.
  int run_statements(int max_statements = 100000);

 private:
  TempDir dir_;
  std::unique_ptr<InterpreterState> state_ = std::make_unique<InterpreterState>();
  std::unique_ptr<ScriptedConsole> console_ = std::make_unique<ScriptedConsole>();
  RecordingMedia media_;
};

}  // namespace tindel::testing
