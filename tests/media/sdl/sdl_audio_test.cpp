// The in-process audio engine, heard for real: SDL's disk driver writes what the mixer plays,
// in real time, to a file that the tests read back as 16-bit stereo frames at 44.1 kHz.
#include "UTypes/media/sdl/sdl_audio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "UTypes/media/sdl/soundfont.h"
#include "tests/media/media_test_support.h"

namespace tindel {
namespace {

using std::chrono::milliseconds;

constexpr int kRate = 44100;
constexpr int kSilenceLevel = 64;  // below this a sample counts as silence

std::string example(const std::string& name) {
  return std::string(TINDEL_SOURCE_DIR) + "/examples/" + name;
}

std::vector<std::int16_t> samples_of(const std::string& file, size_t skip_bytes) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::int16_t> samples;
  for (size_t i = skip_bytes; i + 1 < bytes.size(); i += 2)
    samples.push_back(static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                static_cast<std::uint8_t>(bytes[i + 1]) << 8));
  return samples;
}

struct Span {
  long first = -1;  // first and last frame above the silence level, -1 when all are silent
  long last = -1;
};

// channels: 2 for the device's frames, 1 for the bundled mono waves.
Span sounding(const std::vector<std::int16_t>& samples, int channels, long from_frame = 0) {
  Span span;
  for (size_t i = static_cast<size_t>(from_frame) * channels; i < samples.size(); ++i) {
    if (std::abs(samples[i]) <= kSilenceLevel) continue;
    long frame = static_cast<long>(i) / channels;
    if (span.first < 0) span.first = frame;
    span.last = frame;
  }
  return span;
}

class SdlAudioTest : public ::testing::Test {
 protected:
  SdlAudioTest() {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", recording_.c_str(), 1);
  }
  ~SdlAudioTest() override {
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }

  SdlAudio make_audio(SoundfontChoice soundfont) { return SdlAudio(MediaLog(log_), soundfont); }
  static SoundfontChoice default_soundfont() { return find_soundfont({}, default_soundfonts()); }
  std::vector<std::int16_t> recorded() const { return samples_of(recording_, 0); }
  std::string log() const { return media_test::read_file(log_); }

  media_test::TempDir dir_;
  std::string recording_ = dir_.file("device.raw");
  std::string log_ = dir_.file("media.log");
};

TEST_F(SdlAudioTest, ASoundComesOutNonSilentAndAsLongAsItsWave) {
  const Span wave = sounding(samples_of(example("knock.wav"), 44), 1);
  ASSERT_GT(wave.first, -1);
  const double wave_seconds = static_cast<double>(wave.last - wave.first) / 22050;

  SdlAudio audio = make_audio(default_soundfont());
  EXPECT_FALSE(audio.device_open());  // nothing opens before the first sound
  audio.play_sound(example("knock.wav"));
  EXPECT_TRUE(audio.device_open());
  EXPECT_TRUE(audio.playing());
  std::this_thread::sleep_for(milliseconds(static_cast<int>(wave_seconds * 1000) + 400));
  EXPECT_FALSE(audio.playing());  // played once, not repeated
  audio.stop_all();
  EXPECT_FALSE(audio.device_open());

  const Span heard = sounding(recorded(), 2);
  ASSERT_GT(heard.first, -1) << "only silence recorded";
  const double heard_seconds = static_cast<double>(heard.last - heard.first) / kRate;
  EXPECT_NEAR(heard_seconds, wave_seconds, 0.05);
  EXPECT_LT(heard.first, kRate / 4) << "the sound started late";
  EXPECT_NE(log().find("audio device open: SDL driver disk"), std::string::npos) << log();
  EXPECT_NE(log().find("sound " + example("knock.wav") + " started"), std::string::npos);
}

TEST_F(SdlAudioTest, ATuneSoundsThroughTheSoundfontAndMusicZeroLeavesSilence) {
  SoundfontChoice soundfont = default_soundfont();
  ASSERT_FALSE(soundfont.file.empty()) << "no General MIDI soundfont installed";
  SdlAudio audio = make_audio(soundfont);
  audio.play_tune(example("1.mid"));
  std::this_thread::sleep_for(milliseconds(700));
  audio.stop_tune();
  EXPECT_FALSE(audio.playing());
  std::this_thread::sleep_for(milliseconds(400));
  audio.stop_all();

  // Judged by the recording alone (see the emergency silence below): sound, then silence to
  // the end.
  std::vector<std::int16_t> samples = recorded();
  const Span heard = sounding(samples, 2);
  EXPECT_GT(heard.last - heard.first, kRate / 4) << "the tune made (almost) no sound";
  EXPECT_LT(heard.last, static_cast<long>(samples.size()) / 2 - kRate / 10)
      << "still sounding after music = 0";
  EXPECT_NE(log().find("music " + example("1.mid") + " stopped"), std::string::npos);
}

TEST_F(SdlAudioTest, TheEmergencySilenceMutesWhatStillPlays) {
  SdlAudio audio = make_audio(default_soundfont());
  audio.play_sound(example("bell.wav"));
  std::this_thread::sleep_for(milliseconds(300));
  silence_audio_now();  // what a fatal signal's hook does
  std::this_thread::sleep_for(milliseconds(400));
  EXPECT_TRUE(audio.playing());  // the bell is still being mixed, into silence
  audio.stop_all();

  // The bell rings loud for 2.8 s, so silence at the end of the recording while it is still
  // mixed is the mute's. Judged by the recording alone: the device's frames need not keep
  // step with the test's clock on a busy machine.
  std::vector<std::int16_t> samples = recorded();
  const Span heard = sounding(samples, 2);
  EXPECT_GT(heard.first, -1) << "the bell was never heard";
  EXPECT_LT(heard.last, static_cast<long>(samples.size()) / 2 - kRate / 10)
      << "still sounding at the end of the recording";

  // The next run of the device is heard again.
  audio.play_sound(example("knock.wav"));
  std::this_thread::sleep_for(milliseconds(300));
  audio.stop_all();
  EXPECT_GT(sounding(recorded(), 2).first, -1);
}

TEST_F(SdlAudioTest, FilesThatAreNotMediaAreSilentAndTheLogSaysWhy) {
  const std::string bad = dir_.write("bad.wav", "RIFF but not really a wave");
  const std::string bad_tune = dir_.write("bad.mid", "no tune in here at all");
  SdlAudio audio = make_audio(default_soundfont());
  audio.play_sound(bad);
  audio.play_tune(bad_tune);
  EXPECT_FALSE(audio.playing());
  audio.stop_all();
  EXPECT_NE(log().find("sound " + bad + " not played: "), std::string::npos) << log();
  EXPECT_NE(log().find("music " + bad_tune + " not played: "), std::string::npos) << log();
  EXPECT_EQ(log().find("started"), std::string::npos);
}

TEST_F(SdlAudioTest, WithoutAnAudioDeviceNothingPlaysAndTheLogSaysSo) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  SdlAudio audio = make_audio(default_soundfont());
  audio.play_sound(example("knock.wav"));
  audio.play_tune(example("1.mid"));
  EXPECT_FALSE(audio.device_open());
  EXPECT_FALSE(audio.playing());
  EXPECT_NE(log().find("no audio: "), std::string::npos) << log();
  EXPECT_NE(log().find("music " + example("1.mid") + " not played: no audio device"),
            std::string::npos);
}

}  // namespace
}  // namespace tindel
