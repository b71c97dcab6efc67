#include "UTypes/media/external/system_media.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "UTypes/state/emergency_hooks.h"
#include "tests/media/media_test_support.h"

namespace tindel {

namespace {

using media_test::is_gone;
using media_test::is_unreaped_zombie;
using media_test::read_file;
using media_test::recorder_body;
using media_test::TempDir;
using media_test::wait_for;
using media_test::wait_for_run;
using Words = std::vector<std::string>;

// Players that record their start; tunes and sounds keep playing until stopped, viewers and
// "quick" players end at once.
class MediaSystem : public ::testing::Test {
 protected:
  MediaSystem() {
    variables_ = {
        {"TINDEL_MIDI_PLAYER", player("tune", "exec sleep 30")},
        {"TINDEL_WAVE_PLAYER", player("sound", "exec sleep 30")},
        {"TINDEL_IMAGE_VIEWER", player("viewer", "exit 0")},
    };
  }

  std::string player(const std::string& tag, const std::string& tail) {
    return dir_.script(tag, recorder_body(dir_, tag, tail));
  }
  std::unique_ptr<SystemMedia> media(const std::string& path = "") const {
    return std::make_unique<SystemMedia>(media_test::search_with(variables_, path));
  }

  TempDir dir_;
  std::map<std::string, std::string> variables_;
};

// Puts a pipe holding keys on standard input and a file on standard output and error, as long
// as it lives.
class RedirectedStdio {
 public:
  explicit RedirectedStdio(const std::string& capture) {
    std::fflush(stdout);
    std::fflush(stderr);
    for (int fd = 0; fd < 3; ++fd)
      saved_[fd] = dup(fd);
    if (pipe(keys_) == 0) {
      (void)!write(keys_[1], "keys\n", 5);
      dup2(keys_[0], 0);
    }
    int out = open(capture.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(out, 2);
    close(out);
  }
  ~RedirectedStdio() {
    for (int fd = 0; fd < 3; ++fd) {
      dup2(saved_[fd], fd);
      close(saved_[fd]);
    }
    close(keys_[0]);
    close(keys_[1]);
  }
  RedirectedStdio(const RedirectedStdio&) = delete;
  RedirectedStdio& operator=(const RedirectedStdio&) = delete;

 private:
  int saved_[3] = {-1, -1, -1};
  int keys_[2] = {-1, -1};
};

}  // namespace

TEST_F(MediaSystem, StartsEachPlayerWithTheFileAsItsLastArgument) {
  variables_["TINDEL_MIDI_PLAYER"] += " --volume 50";
  auto m = media();
  m->playmidi("3.mid", true);
  m->playwave("door.wav");
  m->showimage("4.jpg");
  auto tune = wait_for_run(dir_, "tune", 1);
  ASSERT_NE(tune.pid, 0);
  EXPECT_EQ(tune.args, (Words{"--volume", "50", "3.mid"}));
  EXPECT_EQ(getpgid(tune.pid), tune.pid) << "a tune leads a process group of its own";
  EXPECT_EQ(wait_for_run(dir_, "sound", 1).args, Words{"door.wav"});
  EXPECT_EQ(wait_for_run(dir_, "viewer", 1).args, Words{"4.jpg"});
}

TEST_F(MediaSystem, QuestTextReachesThePlayerAsOnePlainArgument) {
  std::string name = "a;b $(touch " + dir_.file("x") + ") `touch " + dir_.file("y") + "` -z.wav";
  auto m = media();
  m->playwave(name);
  EXPECT_EQ(wait_for_run(dir_, "sound", 1).args, Words{name});
  EXPECT_FALSE(media_test::file_exists(dir_.file("x")));
  EXPECT_FALSE(media_test::file_exists(dir_.file("y")));

  m->playwave("-z.wav");
  EXPECT_EQ(wait_for_run(dir_, "sound", 2).args, Words{"./-z.wav"});
}

TEST_F(MediaSystem, APlayerNeitherReadsTheKeysNorWritesToTheScreen) {
  variables_["TINDEL_WAVE_PLAYER"] =
      dir_.script("noisy", "echo out; echo err >&2\ncat > '" + dir_.file("stdin.tmp") + "'\nmv '" +
                               dir_.file("stdin.tmp") + "' '" + dir_.file("stdin") + "'\n");
  auto m = media();
  bool finished = false;
  {
    RedirectedStdio stdio(dir_.file("screen"));
    m->playwave("door.wav");
    finished = wait_for([&] { return media_test::file_exists(dir_.file("stdin")); });
  }
  EXPECT_TRUE(finished) << "the player waited for input";
  ASSERT_TRUE(wait_for([&] { return media_test::file_exists(dir_.file("stdin")); }));
  EXPECT_EQ(read_file(dir_.file("stdin")), "");
  EXPECT_EQ(read_file(dir_.file("screen")), "");
}

TEST_F(MediaSystem, StoppingTheMusicEndsTheTune) {
  auto m = media();
  m->playmidi("0.mid", false);  // nothing plays yet: nothing to stop
  m->playmidi("1.mid", true);
  pid_t tune = wait_for_run(dir_, "tune", 1).pid;
  ASSERT_NE(tune, 0);
  m->playmidi("0.mid", false);
  EXPECT_TRUE(is_gone(tune));
}

TEST_F(MediaSystem, ATuneThatIgnoresTheRequestToEndIsKilled) {
  variables_["TINDEL_MIDI_PLAYER"] = player("stubborn", "trap '' TERM\nexec sleep 30");
  auto m = media();
  m->playmidi("1.mid", true);
  pid_t tune = wait_for_run(dir_, "stubborn", 1).pid;
  ASSERT_NE(tune, 0);
  auto before = std::chrono::steady_clock::now();
  m->playmidi("0.mid", false);
  EXPECT_TRUE(is_gone(tune));
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
}

TEST_F(MediaSystem, ANewTuneStopsTheOldOneAndANewSoundTheOldSound) {
  auto m = media();
  m->playmidi("1.mid", true);
  m->playwave("a.wav");
  pid_t first_tune = wait_for_run(dir_, "tune", 1).pid;
  pid_t first_sound = wait_for_run(dir_, "sound", 1).pid;
  ASSERT_NE(first_tune, 0);
  ASSERT_NE(first_sound, 0);
  m->playmidi("2.mid", true);
  m->playwave("b.wav");
  EXPECT_TRUE(is_gone(first_tune));
  EXPECT_TRUE(is_gone(first_sound));
  auto second_tune = wait_for_run(dir_, "tune", 2);
  EXPECT_EQ(second_tune.args, Words{"2.mid"});
  EXPECT_FALSE(is_gone(second_tune.pid));
  EXPECT_EQ(wait_for_run(dir_, "sound", 2).args, Words{"b.wav"});
}

TEST_F(MediaSystem, TheEndStopsTuneAndSoundButLeavesPicturesOpen) {
  variables_["TINDEL_IMAGE_VIEWER"] = player("viewer", "exec sleep 30");
  auto m = media();
  m->playmidi("1.mid", true);
  m->playwave("a.wav");
  m->showimage("1.jpg");
  pid_t tune = wait_for_run(dir_, "tune", 1).pid;
  pid_t sound = wait_for_run(dir_, "sound", 1).pid;
  pid_t viewer = wait_for_run(dir_, "viewer", 1).pid;
  ASSERT_NE(tune, 0);
  ASSERT_NE(sound, 0);
  ASSERT_NE(viewer, 0);
  m->stop_all();
  EXPECT_TRUE(is_gone(tune));
  EXPECT_TRUE(is_gone(sound));
  EXPECT_EQ(kill(viewer, 0), 0) << "the picture stays open";
  kill(-viewer, SIGKILL);
  waitpid(viewer, nullptr, 0);
}

TEST_F(MediaSystem, DestroyingTheMediaStopsTheTune) {
  auto m = media();
  m->playmidi("1.mid", true);
  pid_t tune = wait_for_run(dir_, "tune", 1).pid;
  ASSERT_NE(tune, 0);
  m.reset();
  EXPECT_TRUE(is_gone(tune));
}

TEST_F(MediaSystem, TheEmergencyHookKillsTheTuneAndTheSound) {
  auto m = media();
  m->playmidi("1.mid", true);
  m->playwave("a.wav");
  pid_t tune = wait_for_run(dir_, "tune", 1).pid;
  pid_t sound = wait_for_run(dir_, "sound", 1).pid;
  ASSERT_NE(tune, 0);
  ASSERT_NE(sound, 0);
  run_emergency_hooks();
  for (pid_t pid : {tune, sound}) {
    siginfo_t info{};
    ASSERT_EQ(waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT), 0);
    EXPECT_EQ(info.si_code, CLD_KILLED);
    EXPECT_EQ(info.si_status, SIGKILL);
  }
  m->playmidi("0.mid", false);
  EXPECT_TRUE(is_gone(tune));
  EXPECT_TRUE(is_gone(sound));
}

TEST_F(MediaSystem, PlayersThatEndedAreCollected) {
  variables_["TINDEL_WAVE_PLAYER"] = player("sound", "exit 0");
  auto m = media();
  m->showimage("1.jpg");
  pid_t viewer = wait_for_run(dir_, "viewer", 1).pid;
  ASSERT_NE(viewer, 0);
  ASSERT_TRUE(wait_for([&] { return is_unreaped_zombie(viewer); }));
  m->playwave("a.wav");
  EXPECT_TRUE(is_gone(viewer)) << "collected at the next call";

  pid_t sound = wait_for_run(dir_, "sound", 1).pid;
  ASSERT_NE(sound, 0);
  ASSERT_TRUE(wait_for([&] { return is_unreaped_zombie(sound); }));
  m->playmidi("0.mid", false);
  EXPECT_TRUE(is_gone(sound));

  m->showimage("2.jpg");
  viewer = wait_for_run(dir_, "viewer", 2).pid;
  ASSERT_TRUE(wait_for([&] { return is_unreaped_zombie(viewer); }));
  m->stop_all();
  EXPECT_TRUE(is_gone(viewer));
}

TEST_F(MediaSystem, WithoutAnyPlayerNothingRuns) {
  // Programs that must not be taken: aplaymidi never, fluidsynth only with a soundfont.
  TempDir bin;
  bin.script("aplaymidi", recorder_body(dir_, "aplaymidi", "exit 0"));
  bin.script("fluidsynth", recorder_body(dir_, "fluidsynth", "exit 0"));
  bin.script("xdg-open", recorder_body(dir_, "sentinel", "exit 0"));
  variables_.clear();
  auto m = media(bin.path());
  m->playmidi("1.mid", true);
  m->playwave("a.wav");
  m->playmidi("0.mid", false);
  m->showimage("1.jpg");  // the one player there is, to know when the others would have run
  ASSERT_NE(wait_for_run(dir_, "sentinel", 1).pid, 0);
  EXPECT_FALSE(media_test::file_exists(dir_.file("aplaymidi.1.args")));
  EXPECT_FALSE(media_test::file_exists(dir_.file("fluidsynth.1.args")));
  m->stop_all();
}

TEST_F(MediaSystem, AnEmptyVariablePlaysNothingEvenWithAPlayerOnThePath) {
  TempDir bin;
  bin.script("paplay", recorder_body(dir_, "paplay", "exit 0"));
  variables_["TINDEL_WAVE_PLAYER"] = "";
  auto m = media(bin.path());
  m->playwave("a.wav");
  m->showimage("1.jpg");
  ASSERT_NE(wait_for_run(dir_, "viewer", 1).pid, 0);
  EXPECT_FALSE(media_test::file_exists(dir_.file("paplay.1.args")));
}

TEST_F(MediaSystem, APlayerThatCannotStartIsSilent) {
  variables_["TINDEL_MIDI_PLAYER"] = dir_.write("not-executable", "#!/bin/sh\n");
  variables_["TINDEL_WAVE_PLAYER"] = dir_.file("missing");
  auto m = media();
  {
    RedirectedStdio stdio(dir_.file("screen"));
    m->playmidi("1.mid", true);
    m->playwave("a.wav");
    m->playmidi("0.mid", false);
    m->stop_all();
  }
  EXPECT_EQ(read_file(dir_.file("screen")), "");
}

}  // namespace tindel
