#pragma once
// Finding the General MIDI soundfont that renders the quest's tunes. Without one MIDI is
// silent, so the choice (and every place passed over) goes to the media log.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tindel {

struct SoundfontChoice {
  std::string file;    // the soundfont, empty when none was found
  std::string source;  // where it came from: "TINDEL_SOUNDFONT", "SDL_SOUNDFONTS", "default"
  std::vector<std::string> passed_over;  // "SOURCE: FILE: why", for the log
};

using EnvLookup = std::function<std::optional<std::string>(const std::string&)>;

// The places a soundfont is usually installed (Debian, other Linux, Homebrew), best first.
const std::vector<std::string>& default_soundfonts();

// The first readable soundfont of TINDEL_SOUNDFONT, then of SDL_SOUNDFONTS (both may hold a
// list separated by ';', as SDL_mixer reads it), then of `defaults`.
SoundfontChoice find_soundfont(const EnvLookup& getenv, const std::vector<std::string>& defaults);

}  // namespace tindel
