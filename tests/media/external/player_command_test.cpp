#include "UTypes/media/external/player_command.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/media/media_test_support.h"

namespace tindel {

namespace {

using media_test::search_with;
using media_test::TempDir;
using Words = std::vector<std::string>;

class MediaPlayerChoice : public ::testing::Test {
 protected:
  std::string program(const std::string& name) const { return bin_.script(name, "exit 0\n"); }
  std::optional<PlayerCommand> choose(MediaKind kind,
                                      std::map<std::string, std::string> variables = {},
                                      std::vector<std::string> soundfonts = {}) const {
    return choose_player(kind, search_with(std::move(variables), bin_.path(), soundfonts));
  }

  TempDir bin_;
};

}  // namespace

TEST_F(MediaPlayerChoice, TheVariableWinsOverThePath) {
  program("timidity");
  std::string mine = program("mine");
  auto chosen = choose(MediaKind::kMidi, {{"TINDEL_MIDI_PLAYER", "mine --gain '2 0'"}});
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->program, mine);
  EXPECT_EQ(chosen->args, (Words{"mine", "--gain", "2 0"}));

  auto wave = choose(MediaKind::kWave, {{"TINDEL_WAVE_PLAYER", "/usr/local/bin/x -v"}});
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->program, "/usr/local/bin/x");
  auto image = choose(MediaKind::kImage, {{"TINDEL_IMAGE_VIEWER", "mine"}});
  ASSERT_TRUE(image);
  EXPECT_EQ(image->program, mine);
}

TEST_F(MediaPlayerChoice, AnEmptyVariableOrAMissingProgramMeansNoPlayer) {
  program("timidity");
  program("paplay");
  program("xdg-open");
  EXPECT_FALSE(choose(MediaKind::kMidi, {{"TINDEL_MIDI_PLAYER", ""}}));
  EXPECT_FALSE(choose(MediaKind::kWave, {{"TINDEL_WAVE_PLAYER", "  "}}));
  EXPECT_FALSE(choose(MediaKind::kImage, {{"TINDEL_IMAGE_VIEWER", "no-such-viewer"}}));
  EXPECT_TRUE(choose(MediaKind::kMidi, {{"TINDEL_WAVE_PLAYER", ""}}));
}

TEST_F(MediaPlayerChoice, MidiPrefersTimidityAndUsesFluidsynthOnlyWithASoundfont) {
  program("aplaymidi");
  EXPECT_FALSE(choose(MediaKind::kMidi));

  std::string fluidsynth = program("fluidsynth");
  EXPECT_FALSE(choose(MediaKind::kMidi, {}, {bin_.file("absent.sf2")}));
  std::string soundfont = bin_.write("gm.sf2", "RIFF");
  auto chosen = choose(MediaKind::kMidi, {}, {bin_.file("absent.sf2"), soundfont});
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->program, fluidsynth);
  EXPECT_EQ(chosen->args.front(), "fluidsynth");
  EXPECT_EQ(chosen->args.back(), soundfont);

  std::string timidity = program("timidity");
  chosen = choose(MediaKind::kMidi, {}, {soundfont});
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->program, timidity);
}

TEST_F(MediaPlayerChoice, WaveAndImageFallBackInOrder) {
  EXPECT_FALSE(choose(MediaKind::kWave));
  std::vector<std::string> order = {"afplay", "aplay", "pw-play", "paplay"};
  for (const auto& name : order) {
    std::string file = program(name);
    auto chosen = choose(MediaKind::kWave);
    ASSERT_TRUE(chosen) << name;
    EXPECT_EQ(chosen->program, file);
  }
  EXPECT_FALSE(choose(MediaKind::kImage));
  std::string open = program("open");
  EXPECT_EQ(choose(MediaKind::kImage)->program, open);
  std::string xdg_open = program("xdg-open");
  EXPECT_EQ(choose(MediaKind::kImage)->program, xdg_open);
}

TEST(MediaFindProgram, TakesTheFirstExecutableFileOnThePath) {
  TempDir first;
  TempDir second;
  std::string path = first.path() + "::" + second.path();
  std::string wanted = second.script("player", "exit 0\n");
  first.write("player", "not executable");
  EXPECT_EQ(find_program("player", path), wanted);

  mkdir(first.file("dir-player").c_str(), 0755);
  EXPECT_FALSE(find_program("dir-player", path));
  EXPECT_FALSE(find_program("player", ""));
  EXPECT_FALSE(find_program("", path));
  EXPECT_EQ(find_program("./player", path), "./player");
}

TEST(MediaFileArgument, ALeadingDashBecomesARelativePath) {
  EXPECT_EQ(file_argument("-z.mid"), "./-z.mid");
  EXPECT_EQ(file_argument("--help.wav"), "./--help.wav");
  EXPECT_EQ(file_argument("a-b.jpg"), "a-b.jpg");
  EXPECT_EQ(file_argument("3.mid"), "3.mid");
}

}  // namespace tindel
