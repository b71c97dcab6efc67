// Where each medium goes, how the soundfont is found, and what the media log records.
#include "UTypes/media/media_router.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "UTypes/media/media_log.h"
#include "UTypes/media/sdl/soundfont.h"
#include "tests/media/media_test_support.h"

namespace tindel {
namespace {

EnvLookup environment(std::map<std::string, std::string> values) {
  return [values](const std::string& name) -> std::optional<std::string> {
    auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
}

TEST(MediaRoutes, EachVariableSendsOnlyItsMediumOutside) {
  MediaRoutes none = choose_media_routes(environment({}), true);
  EXPECT_FALSE(none.external_midi);
  EXPECT_FALSE(none.external_wave);
  EXPECT_EQ(none.picture, PictureRoute::kTerminal);

  MediaRoutes midi = choose_media_routes(environment({{"TINDEL_MIDI_PLAYER", "timidity"}}), true);
  EXPECT_TRUE(midi.external_midi);
  EXPECT_FALSE(midi.external_wave);
  EXPECT_EQ(midi.picture, PictureRoute::kTerminal);

  // Set but empty still means the outside player, which is then none: that medium is off.
  MediaRoutes off = choose_media_routes(
      environment({{"TINDEL_WAVE_PLAYER", ""}, {"TINDEL_IMAGE_VIEWER", ""}}), true);
  EXPECT_FALSE(off.external_midi);
  EXPECT_TRUE(off.external_wave);
  EXPECT_EQ(off.picture, PictureRoute::kExternal);
}

TEST(MediaRoutes, PicturesGoToTheDesktopOnlyInAGraphicalSession) {
  EXPECT_EQ(choose_media_routes(environment({{"DISPLAY", ":0"}}), true).picture,
            PictureRoute::kExternal);
  EXPECT_EQ(choose_media_routes(environment({{"WAYLAND_DISPLAY", "wayland-0"}}), true).picture,
            PictureRoute::kExternal);
  EXPECT_EQ(choose_media_routes(environment({{"DISPLAY", ""}}), true).picture,
            PictureRoute::kTerminal);
  EXPECT_EQ(choose_media_routes(environment({}), false).picture, PictureRoute::kNone);
  // A desktop without a viewer program: the terminal draws the picture after all.
  EXPECT_EQ(choose_media_routes(environment({{"DISPLAY", ":0"}}), true, false).picture,
            PictureRoute::kTerminal);
  // A viewer the player named is used even so.
  EXPECT_EQ(choose_media_routes(environment({{"DISPLAY", ":0"}, {"TINDEL_IMAGE_VIEWER", "v"}}),
                                true, false)
                .picture,
            PictureRoute::kExternal);
  // The accessible mode opens no desktop window by itself (the terminal then shows none
  // either); a viewer the player named still opens.
  EXPECT_EQ(choose_media_routes(environment({{"DISPLAY", ":0"}}), true, true, true).picture,
            PictureRoute::kTerminal);
  EXPECT_EQ(choose_media_routes(environment({{"DISPLAY", ":0"}, {"TINDEL_IMAGE_VIEWER", "v"}}),
                                true, true, true)
                .picture,
            PictureRoute::kExternal);
}

class Recorder : public MediaPlayer, public PictureSink {
 public:
  void playmidi(const std::string& file, bool start) override {
    calls.push_back((start ? "midi " : "midi-stop ") + file);
  }
  void playwave(const std::string& file) override { calls.push_back("wave " + file); }
  void showimage(const std::string& file) override { calls.push_back("image " + file); }
  void stop_all() override { calls.push_back("stop-all"); }
  std::string show_picture(const std::string& file) override {
    calls.push_back("terminal " + file);
    return "picture " + file + " drawn";
  }
  std::vector<std::string> calls;
};

TEST(MediaRouter, SendsEachMediumByItsRouteAndLogsIt) {
  media_test::TempDir dir;
  auto external = std::make_unique<Recorder>();
  Recorder* outside = external.get();
  Recorder terminal;
  MediaRoutes routes;
  routes.external_midi = true;
  routes.picture = PictureRoute::kTerminal;
  MediaRouter router(routes, std::move(external), nullptr, &terminal, MediaLog(dir.file("log")));
  router.playmidi("2.mid", true);
  router.playmidi("0.mid", false);
  router.playwave("door.wav");  // in-process, and there is no engine here: nothing at all
  router.showimage("4.jpg");
  router.stop_all();
  EXPECT_EQ(outside->calls,
            (std::vector<std::string>{"midi 2.mid", "midi-stop 0.mid", "stop-all"}));
  EXPECT_EQ(terminal.calls, (std::vector<std::string>{"terminal 4.jpg"}));
  std::string log = media_test::read_file(dir.file("log"));
  EXPECT_NE(log.find("tindel media: music 2.mid handed to TINDEL_MIDI_PLAYER\n"),
            std::string::npos);
  EXPECT_NE(log.find("tindel media: picture 4.jpg drawn\n"), std::string::npos) << log;
}

TEST(MediaRouter, AMediumTurnedOffStartsNothingAndTheLogSaysWhy) {
  media_test::TempDir dir;
  auto external = std::make_unique<Recorder>();
  Recorder* outside = external.get();
  MediaRoutes routes{.external_midi = true,
                     .external_wave = true,
                     .picture = PictureRoute::kExternal,
                     .midi_off = "TINDEL_MIDI_PLAYER is off",
                     .wave_off = "",
                     .image_off = "TINDEL_IMAGE_VIEWER is off"};
  MediaRouter router(routes, std::move(external), nullptr, nullptr, MediaLog(dir.file("log")));
  router.playmidi("3.mid", true);
  router.playwave("door.wav");
  router.showimage("4.jpg");
  router.file_missing("music", "8.mid");
  EXPECT_EQ(outside->calls, std::vector<std::string>{"wave door.wav"});
  EXPECT_EQ(media_test::read_file(dir.file("log")),
            "tindel media: music 3.mid not played: TINDEL_MIDI_PLAYER is off\n"
            "tindel media: sound door.wav handed to TINDEL_WAVE_PLAYER\n"
            "tindel media: picture 4.jpg not shown: TINDEL_IMAGE_VIEWER is off\n"
            "tindel media: music 8.mid: no such file in the current directory\n");
}

TEST(MediaRouter, AnOutsidePlayerIsOffWhenItsVariableIsEmptyOrNamesNoProgram) {
  media_test::TempDir dir;
  const std::string player = dir.script("player", "exit 0");
  auto off = [&](const std::string& value) {
    return outside_player_off(MediaKind::kMidi,
                              media_test::search_with({{"TINDEL_MIDI_PLAYER", value}}, dir.path()));
  };
  EXPECT_EQ(off(player), "");
  EXPECT_EQ(off("player --loud"), "");  // found on the path
  EXPECT_EQ(off(" "), "TINDEL_MIDI_PLAYER is set but empty, which turns it off");
  EXPECT_EQ(off("no-such-player"), "TINDEL_MIDI_PLAYER names no program that can be started");
  EXPECT_EQ(outside_player_off(MediaKind::kMidi, media_test::search_with({}, dir.path())), "");
}

TEST(MediaLog, AppendsOneLinePerEventAndNothingWithoutAFile) {
  media_test::TempDir dir;
  const std::string file = dir.write("log", "earlier line\n");
  MediaLog log(file);
  EXPECT_TRUE(log.enabled());
  log.write("first");
  log.write("library: two\nlines\n");
  EXPECT_EQ(media_test::read_file(file),
            "earlier line\ntindel media: first\ntindel media: library: two lines\n");
  MediaLog off;
  EXPECT_FALSE(off.enabled());
  off.write("nowhere");  // must not throw or create anything
}

TEST(Soundfont, TheVariablesComeFirstAndWhatIsPassedOverIsTold) {
  media_test::TempDir dir;
  const std::string mine = dir.write("mine.sf2", "x");
  const std::string sdl = dir.write("sdl.sf2", "x");
  const std::string fallback = dir.write("default.sf2", "x");
  const std::string missing = dir.file("missing.sf2");

  SoundfontChoice chosen = find_soundfont(
      environment({{"TINDEL_SOUNDFONT", mine}, {"SDL_SOUNDFONTS", sdl}}), {fallback});
  EXPECT_EQ(chosen.file, mine);
  EXPECT_EQ(chosen.source, "TINDEL_SOUNDFONT");

  chosen = find_soundfont(
      environment({{"TINDEL_SOUNDFONT", missing}, {"SDL_SOUNDFONTS", missing + ";" + sdl}}),
      {fallback});
  EXPECT_EQ(chosen.file, sdl);
  EXPECT_EQ(chosen.source, "SDL_SOUNDFONTS");
  EXPECT_EQ(chosen.passed_over,
            (std::vector<std::string>{"TINDEL_SOUNDFONT: " + missing + ": not found",
                                      "SDL_SOUNDFONTS: " + missing + ": not found"}));

  EXPECT_EQ(find_soundfont(environment({}), {missing, dir.path(), fallback}).file, fallback);
  chosen = find_soundfont(environment({}), {missing, dir.path()});
  EXPECT_TRUE(chosen.file.empty());
  EXPECT_EQ(chosen.passed_over.back(), "default: " + dir.path() + ": not a file");
}

}  // namespace
}  // namespace tindel
