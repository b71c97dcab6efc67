#include "UTypes/media/sdl/soundfont.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tindel {

namespace {

std::vector<std::string> split_list(const std::string& list) {
  std::vector<std::string> files;
  std::string file;
  for (char c : list) {
    if (c == ';') {
      if (!file.empty()) files.push_back(file);
      file.clear();
    } else {
      file.push_back(c);
    }
  }
  if (!file.empty()) files.push_back(file);
  return files;
}

// Why the file cannot serve as a soundfont, or empty when it can.
std::string unusable(const std::string& file) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return "not found";
  if (!S_ISREG(info.st_mode)) return "not a file";
  if (::access(file.c_str(), R_OK) != 0) return "not readable";
  return {};
}

bool take_first(const std::vector<std::string>& files, const std::string& source,
                SoundfontChoice& choice) {
  for (const std::string& file : files) {
    std::string why = unusable(file);
    if (why.empty()) {
      choice.file = file;
      choice.source = source;
      return true;
    }
    choice.passed_over.push_back(source + ": " + file + ": " + why);
  }
  return false;
}

}  // namespace

const std::vector<std::string>& default_soundfonts() {
  // TimGM6mb first: the set-up installs it, and it loads in a blink where a larger
  // soundfont would hold up the start of every tune.
  static const std::vector<std::string> files = {
      "/usr/share/sounds/sf2/TimGM6mb.sf2",         "/usr/share/sounds/sf2/default-GM.sf2",
      "/usr/share/sounds/sf2/FluidR3_GM.sf2",       "/usr/share/soundfonts/default.sf2",
      "/usr/share/soundfonts/FluidR3_GM.sf2",       "/usr/local/share/soundfonts/default.sf2",
      "/opt/homebrew/share/soundfonts/default.sf2",
  };
  return files;
}

SoundfontChoice find_soundfont(const EnvLookup& getenv, const std::vector<std::string>& defaults) {
  SoundfontChoice choice;
  for (const char* variable : {"TINDEL_SOUNDFONT", "SDL_SOUNDFONTS"}) {
    std::optional<std::string> value = getenv ? getenv(variable) : std::nullopt;
    if (value && take_first(split_list(*value), variable, choice)) return choice;
  }
  take_first(defaults, "default", choice);
  return choice;
}

}  // namespace tindel
