// What the media cost: the start of a tune (SDL_mixer has FluidSynth read the whole soundfont
// for every tune, so its size counts), the wait before a sound is heard, and decoding and
// drawing a picture for the terminal. Sound goes to SDL's disk driver, so no sound card is
// needed; the recording is read back to find when the sound began.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "UTypes/console/terminal/picture/jpeg_picture.h"
#include "UTypes/console/terminal/picture/picture_drawing.h"
#include "UTypes/media/sdl/sdl_audio.h"

namespace tindel {
namespace {

std::string example(const std::string& name) {
  return std::string(TINDEL_SOURCE_DIR) + "/examples/" + name;
}

bool readable(const std::string& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0;
}

void use_disk_audio(const std::string& file) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
}

// From `music = 1` to the tune playing, the device already open; one soundfont per run.
void BM_TuneStart(benchmark::State& state, const std::string& soundfont) {
  if (!readable(soundfont)) {
    state.SkipWithError("soundfont not installed");
    return;
  }
  use_disk_audio("/dev/null");
  SdlAudio audio(MediaLog(), SoundfontChoice{soundfont, "bench", {}});
  audio.play_sound(example("knock.wav"));  // opens the device outside the timing
  for (auto _ : state) {
    audio.play_tune(example("1.mid"));
    benchmark::DoNotOptimize(audio.playing());
  }
  audio.stop_all();
}
BENCHMARK_CAPTURE(BM_TuneStart, TimGM6mb, std::string("/usr/share/sounds/sf2/TimGM6mb.sf2"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_TuneStart, FluidR3_GM, std::string("/usr/share/sounds/sf2/FluidR3_GM.sf2"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Milliseconds of silence in the recording before a sound played at the device's opening is
// heard: the mixer's chunk and the driver's buffer.
void BM_SoundLatency(benchmark::State& state) {
  const std::string recording = "/tmp/tindel-bench-latency.raw";
  for (auto _ : state) {
    use_disk_audio(recording);
    SdlAudio audio(MediaLog(), SoundfontChoice{});
    audio.play_sound(example("knock.wav"));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    audio.stop_all();
    std::ifstream in(recording, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t first = 0;
    while (first + 1 < bytes.size() && bytes[first] == 0 && bytes[first + 1] == 0)
      first += 2;
    state.counters["silence_ms"] = static_cast<double>(first / 4) * 1000.0 / 44100.0;
  }
  std::remove(recording.c_str());
}
BENCHMARK(BM_SoundLatency)->Unit(benchmark::kMillisecond)->Iterations(3);

// `image = 1` in an 80x25 terminal: reading and decoding 1.jpg, then the bytes that draw it.
void BM_PictureForTheTerminal(benchmark::State& state) {
  char* env[] = {const_cast<char*>("TERM=xterm-256color"), const_cast<char*>("COLORTERM=truecolor"),
                 nullptr};
  PictureStyle style;
  style.colours = PictureColours::kTrue;
  style.envp = env;
  for (auto _ : state) {
    std::string error;
    std::optional<RgbaPicture> picture = decode_jpeg_file(example("1.jpg"), error);
    std::string bytes = draw_picture(*picture, style, {80, 25, 10, 20});
    benchmark::DoNotOptimize(bytes.data());
    state.counters["bytes"] = static_cast<double>(bytes.size());
  }
}
BENCHMARK(BM_PictureForTheTerminal)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tindel
