#include "UTypes/media/sdl/sdl_audio.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "UTypes/media/sdl/mixer_api.h"
#include "UTypes/media/sdl/stderr_capture.h"
#include "UTypes/state/emergency_hooks.h"

namespace tindel {

namespace {

// A chunk of 1024 frames at 44.1 kHz is 23 ms: a sound starts well within 50 ms.
constexpr int kRate = 44100;
constexpr int kChunkFrames = 1024;
constexpr int kSoundChannel = 0;

std::atomic<bool> silenced{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

// Runs on SDL's audio thread after each mix; it reads only the atomic flag.
void silence_if_asked(void*, Uint8* stream, int length) {
  if (silenced.load(std::memory_order_relaxed)) std::memset(stream, 0, static_cast<size_t>(length));
}

// SDL_mixer takes any file named .mid for a tune and then plays silence; a file that does
// not begin like a standard MIDI file (or its RIFF wrapping) is refused here, with a reason.
bool begins_like_midi(const std::string& file) {
  char magic[4] = {};
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (f == nullptr) return false;
  const bool read = std::fread(magic, 1, sizeof magic, f) == sizeof magic;
  std::fclose(f);
  return read && (std::memcmp(magic, "MThd", 4) == 0 || std::memcmp(magic, "RIFF", 4) == 0);
}

std::string mixer_error(const MixerApi& mix) {
  const char* text = mix.SDL_GetError();
  return text != nullptr && *text != '\0' ? text : "no reason given";
}

}  // namespace

void silence_audio_now() {
  silenced.store(true, std::memory_order_relaxed);
}

SdlAudio::SdlAudio(MediaLog log, SoundfontChoice soundfont)
    : log_(std::move(log)), soundfont_(std::move(soundfont)) {}

bool SdlAudio::ready() {
  if (state_ == State::kClosed) state_ = open_device() ? State::kOpen : State::kFailed;
  return state_ == State::kOpen;
}

bool SdlAudio::open_device() {
  std::string why;
  mix_ = mixer_api(why);
  if (mix_ == nullptr) {
    log_.write("no audio: the sound libraries did not load: " + why);
    return false;
  }
  const MixerApi& mix = *mix_;
  StderrCapture capture(log_);
  // The program's own handlers must keep SIGINT and SIGTERM.
  mix.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (mix.SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    log_.write(std::string("no audio: SDL could not start its audio: ") + mix.SDL_GetError());
    return false;
  }
  if ((mix.Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) == 0)
    log_.write("MIDI support of SDL_mixer did not start: " + mixer_error(mix));
  if (mix.Mix_OpenAudio(kRate, MIX_DEFAULT_FORMAT, 2, kChunkFrames) != 0) {
    log_.write("no audio: the audio device did not open: " + mixer_error(mix));
    mix.SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  silenced.store(false);
  add_emergency_hook(&silence_audio_now);
  mix.Mix_SetPostMix(&silence_if_asked, nullptr);
  log_device();
  return true;
}

void SdlAudio::log_device() const {
  int rate = 0;
  Uint16 format = 0;
  int channels = 0;
  mix_->Mix_QuerySpec(&rate, &format, &channels);
  const char* driver = mix_->SDL_GetCurrentAudioDriver();
  log_.write(std::string("audio device open: SDL driver ") + (driver ? driver : "unknown") + ", " +
             std::to_string(rate) + " Hz, " + std::to_string(channels) + " channels, chunk " +
             std::to_string(kChunkFrames) + " frames");
}

void SdlAudio::play_tune(const std::string& file) {
  stop_tune();
  if (!ready()) {
    log_.write("music " + file + " not played: no audio device");
    return;
  }
  if (soundfont_.file.empty()) {
    log_.write("music " + file +
               ": no soundfont found, MIDI will be silent (set TINDEL_SOUNDFONT)");
  } else {
    mix_->Mix_SetSoundFonts(soundfont_.file.c_str());
  }
  if (!begins_like_midi(file)) {
    log_.write("music " + file + " not played: not a MIDI file");
    return;
  }
  StderrCapture capture(log_);
  tune_ = mix_->Mix_LoadMUS(file.c_str());
  if (tune_ == nullptr) {
    log_.write("music " + file + " not played: " + mixer_error(*mix_));
    return;
  }
  if (mix_->Mix_PlayMusic(tune_, 0) != 0) {  // 0: once, never repeated
    log_.write("music " + file + " not played: " + mixer_error(*mix_));
    stop_tune();
    return;
  }
  tune_file_ = file;
  log_.write("music " + file + " started");
}

void SdlAudio::stop_tune() {
  if (tune_ == nullptr) return;
  mix_->Mix_HaltMusic();
  mix_->Mix_FreeMusic(tune_);
  tune_ = nullptr;
  if (!tune_file_.empty()) log_.write("music " + tune_file_ + " stopped");
  tune_file_.clear();
}

void SdlAudio::play_sound(const std::string& file) {
  release_sound();
  if (!ready()) {
    log_.write("sound " + file + " not played: no audio device");
    return;
  }
  sound_ = mix_->Mix_LoadWAV(file.c_str());
  if (sound_ == nullptr) {
    log_.write("sound " + file + " not played: " + mixer_error(*mix_));
    return;
  }
  if (mix_->Mix_PlayChannel(kSoundChannel, sound_, 0) < 0) {
    log_.write("sound " + file + " not played: " + mixer_error(*mix_));
    release_sound();
    return;
  }
  log_.write("sound " + file + " started");
}

void SdlAudio::release_sound() {
  if (sound_ == nullptr) return;
  mix_->Mix_HaltChannel(kSoundChannel);  // the chunk must not be mixed once it is freed
  mix_->Mix_FreeChunk(sound_);
  sound_ = nullptr;
}

bool SdlAudio::playing() const {
  if (state_ != State::kOpen) return false;
  return mix_->Mix_PlayingMusic() != 0 || mix_->Mix_Playing(-1) != 0;
}

void SdlAudio::stop_all() {
  stop_tune();
  release_sound();
  if (state_ != State::kOpen) return;
  mix_->Mix_SetPostMix(nullptr, nullptr);
  mix_->Mix_CloseAudio();
  mix_->Mix_Quit();
  mix_->SDL_QuitSubSystem(SDL_INIT_AUDIO);
  state_ = State::kClosed;
  log_.write("audio device closed");
}

}  // namespace tindel
