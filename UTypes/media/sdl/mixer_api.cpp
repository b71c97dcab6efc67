#include "UTypes/media/sdl/mixer_api.h"

#include "UTypes/media/shared_library.h"

namespace tindel {

const MixerApi* mixer_api(std::string& why) {
  // SDL2_mixer brings SDL2 with it: its handle finds the functions of both.
  static const LoadedApi<MixerApi> loaded = load_api<MixerApi>(
#ifdef __APPLE__
      {"libSDL2_mixer-2.0.0.dylib", "/opt/homebrew/lib/libSDL2_mixer-2.0.0.dylib",
       "/usr/local/lib/libSDL2_mixer-2.0.0.dylib"},
#else
      {"libSDL2_mixer-2.0.so.0", "libSDL2_mixer.so"},
#endif
      [](void* library, MixerApi& api, std::string& why) {
        return TINDEL_MIXER_FUNCTIONS(TINDEL_BIND_FUNCTION) true;
      });
  return loaded.get(why);
}

}  // namespace tindel
