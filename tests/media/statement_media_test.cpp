// Whole quests whose music, sounds and pictures go to the system's players: stand-in players
// (shell scripts named through the environment) record how they were started and stopped.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "UTypes/media/media_router.h"
#include "program/startup.h"
#include "support/quest_harness.h"

namespace tindel::testing {

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Sets an environment variable for the object's life and puts the old value back.
class EnvVar {
 public:
  EnvVar(std::string name, const std::string& value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) old_ = old;
    ::setenv(name_.c_str(), value.c_str(), 1);
  }
  ~EnvVar() {
    if (old_)
      ::setenv(name_.c_str(), old_->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }
  EnvVar(const EnvVar&) = delete;
  EnvVar& operator=(const EnvVar&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// A scripted console whose `anykey` waits run a check first: the moment at which the test
// looks at the players while the quest is paused.
class PausingConsole : public ScriptedConsole {
 public:
  void at_anykey(std::function<void()> check) {
    checks_.push_back(std::move(check));
    add_key(' ');
  }
  std::uint8_t waitkey() override {
    if (!checks_.empty()) {
      auto check = std::move(checks_.front());
      checks_.pop_front();
      check();
    }
    return ScriptedConsole::waitkey();
  }

 private:
  std::deque<std::function<void()>> checks_;
};

// One start of a stand-in player: its arguments, and whether it was stopped.
struct PlayerRun {
  std::vector<std::string> args;
  bool stopped = false;
};

bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds limit = 5s) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

std::vector<std::string> lines_of(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

class StatementMedia : public ::testing::Test {
 protected:
  // A player that records its arguments under <dir>/<kind>/<pid>.args, and on SIGTERM leaves
  // <pid>.stopped. Tunes and sounds keep playing until stopped; a viewer ends at once.
  std::string player(const std::string& kind, bool keeps_playing) {
    std::string folder = dir_.path() + "/" + kind;
    std::string script = dir_.path() + "/" + kind + "-player.sh";
    dir_.write(kind + "-player.sh",
               "#!/bin/sh\n"
               "d='" +
                   folder +
                   "'\n"
                   "mkdir -p \"$d\"\n"
                   "trap 'echo > \"$d/$$.stopped\"; exit 0' TERM\n"
                   "printf '%s\\n' \"$@\" > \"$d/$$.part\"\n"
                   "mv \"$d/$$.part\" \"$d/$$.args\"\n" +
                   std::string(keeps_playing ? "sleep 30 &\nwait\n" : ""));
    fs::permissions(script, fs::perms::owner_all);
    return script;
  }

  // Every start so far of the player of `kind`, by process id.
  std::map<std::string, PlayerRun> runs(const std::string& kind) const {
    std::map<std::string, PlayerRun> found;
    fs::path folder = dir_.path() + "/" + kind;
    if (!fs::exists(folder)) return found;
    for (const auto& entry : fs::directory_iterator(folder)) {
      std::string pid = entry.path().stem().string();
      if (entry.path().extension() == ".args") found[pid].args = lines_of(entry.path());
      if (entry.path().extension() == ".stopped") found[pid].stopped = true;
    }
    return found;
  }

  // The single start of `kind` once it has been recorded; fails the test if there is none.
  PlayerRun only_run(const std::string& kind) const {
    std::map<std::string, PlayerRun> found;
    bool started = wait_until([&] {
      found = runs(kind);
      return !found.empty() && !found.begin()->second.args.empty();
    });
    EXPECT_TRUE(started) << "no " << kind << " player started";
    EXPECT_EQ(found.size(), 1u) << kind;
    return found.empty() ? PlayerRun{} : found.begin()->second;
  }

  int run(const std::string& quest, std::vector<std::string> args = {"0", "w", "quest.qst"}) {
    dir_.write("quest.qst", crlf(quest));
    std::unique_ptr<MediaPlayer> media = make_system_media();  // reads the variables set above
    InterpreterState state;
    RunResult result = run_program(state, args, {console_, *media, 1});
    return result.status;
  }

  TempDir dir_;
  EnvVar midi_{"TINDEL_MIDI_PLAYER", player("midi", true)};
  EnvVar wave_{"TINDEL_WAVE_PLAYER", player("wave", true)};
  EnvVar image_{"TINDEL_IMAGE_VIEWER", player("image", false)};
  PausingConsole console_;
};

}  // namespace

TEST_F(StatementMedia, ATuneStartsWithItsFileAndStopsAtMusicZero) {
  dir_.write("2.mid", "tune");
  bool stopped_by_statement = false;
  console_.at_anykey([&] { EXPECT_EQ(only_run("midi").args, std::vector<std::string>{"2.mid"}); });
  console_.at_anykey([&] { stopped_by_statement = only_run("midi").stopped; });
  EXPECT_EQ(run("music = 2\nanykey\nmusic = 0\nanykey\n"), 0);
  EXPECT_TRUE(stopped_by_statement);
}

TEST_F(StatementMedia, ANewTuneStopsTheOldAndTheEndStopsTheLast) {
  dir_.write("2.mid", "tune");
  dir_.write("3.mid", "tune");
  console_.at_anykey([&] { only_run("midi"); });
  std::map<std::string, PlayerRun> during;
  console_.at_anykey([&] {
    wait_until([&] { return runs("midi").size() == 2; });
    during = runs("midi");
  });
  EXPECT_EQ(run("music = 2\nanykey\nmusic = 3\nanykey\n"), 0);
  ASSERT_EQ(during.size(), 2u);
  for (const auto& [pid, played] : during) {
    ASSERT_EQ(played.args.size(), 1u);
    EXPECT_EQ(played.stopped, played.args[0] == "2.mid") << played.args[0];
  }
  for (const auto& [pid, played] : runs("midi"))
    EXPECT_TRUE(played.stopped) << played.args[0];
}

TEST_F(StatementMedia, SoundsAndPicturesStartWithTheirFiles) {
  dir_.write("door.wav", "sound");
  dir_.write("4.jpg", "picture");
  console_.at_anykey([&] {
    EXPECT_EQ(only_run("wave").args, std::vector<std::string>{"door.wav"});
    EXPECT_EQ(only_run("image").args, std::vector<std::string>{"4.jpg"});
  });
  EXPECT_EQ(run("play door\nimage = 4\nanykey\n"), 0);
  EXPECT_TRUE(only_run("wave").stopped);  // the end silences the sound still playing
}

TEST_F(StatementMedia, MissingFilesStartNothing) {
  dir_.write("2.mid", "tune");  // only a tune that the quest does not ask for
  console_.at_anykey([&] {
    std::this_thread::sleep_for(300ms);  // time for a wrongly started player to show itself
    EXPECT_TRUE(runs("midi").empty());
    EXPECT_TRUE(runs("wave").empty());
    EXPECT_TRUE(runs("image").empty());
  });
  EXPECT_EQ(run("music = 3\nplay bell\nimage = 5\nanykey\n"), 0);
}

TEST_F(StatementMedia, ASyntaxCheckStartsNothing) {
  for (const char* file : {"2.mid", "door.wav", "4.jpg"})
    dir_.write(file, "data");
  EXPECT_EQ(run("music = 2\nplay door\nimage = 4\n", {"3", "w", "quest.qst"}), 0);
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(runs("midi").empty());
  EXPECT_TRUE(runs("wave").empty());
  EXPECT_TRUE(runs("image").empty());  // a viewer is never stopped, so it would have recorded
}

TEST_F(StatementMedia, ShellCharactersInANameAreOnePlainArgument) {
  const std::string name = "a;b $(touch pwned) -x `touch pwned2` >out";
  dir_.write(name + ".wav", "sound");
  console_.at_anykey(
      [&] { EXPECT_EQ(only_run("wave").args, std::vector<std::string>{name + ".wav"}); });
  EXPECT_EQ(run("play " + name + "\nanykey\n"), 0);
  for (const char* made : {"pwned", "pwned2", "out", "wave/pwned", "wave/pwned2"})
    EXPECT_FALSE(dir_.exists(made)) << made;
}

}  // namespace tindel::testing
