#pragma once
// The functions of SDL2 and SDL2_mixer that the audio engine calls, found in the libraries
// when the first tune or sound is played (shared_library.h says why not at start-up).
#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

namespace tindel {

#define TINDEL_MIXER_FUNCTIONS(X)                                                                \
  X(SDL_SetHint)                                                                                 \
  X(SDL_InitSubSystem)                                                                           \
  X(SDL_QuitSubSystem) X(SDL_GetError) X(SDL_GetCurrentAudioDriver) X(Mix_Init) X(Mix_Quit)      \
      X(Mix_OpenAudio) X(Mix_CloseAudio) X(Mix_QuerySpec) X(Mix_SetPostMix) X(Mix_SetSoundFonts) \
          X(Mix_LoadMUS) X(Mix_FreeMusic) X(Mix_PlayMusic) X(Mix_HaltMusic) X(Mix_PlayingMusic)  \
              X(Mix_LoadWAV) X(Mix_FreeChunk) X(Mix_PlayChannel) X(Mix_HaltChannel) X(Mix_Playing)

struct MixerApi {
#define TINDEL_MIXER_POINTER(name) decltype(&::name) name = nullptr;
  TINDEL_MIXER_FUNCTIONS(TINDEL_MIXER_POINTER)
#undef TINDEL_MIXER_POINTER
};

// The functions, loaded at the first call; nullptr when the libraries or one of the functions
// cannot be had, and then `why` tells what failed (every later call answers the same).
const MixerApi* mixer_api(std::string& why);

}  // namespace tindel
