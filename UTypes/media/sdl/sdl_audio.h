#pragma once
// Tunes and sounds played inside the program by SDL2_mixer, MIDI rendered by FluidSynth with a
// General MIDI soundfont. The libraries load and the audio device opens at the first thing
// played, so a quest without sound costs nothing; every failure is silent towards the quest and
// goes to the media log. All calls come from the interpreter's thread; SDL_mixer's own audio thread
// only mixes.
#include <string>

#include "UTypes/media/media_log.h"
#include "UTypes/media/sdl/soundfont.h"

struct _Mix_Music;
struct Mix_Chunk;

namespace tindel {

struct MixerApi;

class SdlAudio {
 public:
  SdlAudio(MediaLog log, SoundfontChoice soundfont);
  // Stops everything and closes the device.
  ~SdlAudio() { stop_all(); }
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // Plays the MIDI file once; a tune still playing is replaced.
  void play_tune(const std::string& file);
  void stop_tune();
  // Plays the wave file once; a sound still playing is cut off.
  void play_sound(const std::string& file);
  // Silence, and the device closed (a later play opens it again).
  void stop_all();

  // Whether the device is open, and whether anything is audible now: for the tests.
  bool device_open() const { return state_ == State::kOpen; }
  bool playing() const;

 private:
  enum class State { kClosed, kOpen, kFailed };
  // Opens the device on first use; false when there is none (tried once per run).
  bool ready();
  bool open_device();
  void log_device() const;
  void release_sound();

  MediaLog log_;
  SoundfontChoice soundfont_;
  State state_ = State::kClosed;
  const MixerApi* mix_ = nullptr;  // the libraries' functions, loaded with the device
  _Mix_Music* tune_ = nullptr;
  Mix_Chunk* sound_ = nullptr;
  std::string tune_file_;
};

// Makes every sound of the program silent at once, from any thread or a signal handler; used by
// the emergency hook, which runs before the program dies of a signal.
void silence_audio_now();

}  // namespace tindel
