#include "UTypes/media/external/player_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "UTypes/media/external/command_words.h"

namespace tindel {

namespace {

struct Candidate {
  const char* name;
  std::vector<std::string> options;
  bool needs_soundfont = false;  // the soundfont is added after the options
};

// In order of preference. aplaymidi is left out: it needs a hardware or software synth port.
std::vector<Candidate> candidates(MediaKind kind) {
  switch (kind) {
    case MediaKind::kMidi:
      return {{"timidity", {"-idqq"}}, {"fluidsynth", {"-i", "-q", "-n"}, true}};
    case MediaKind::kWave:
      return {{"paplay", {}}, {"pw-play", {}}, {"aplay", {"-q"}}, {"afplay", {}}};
    case MediaKind::kImage:
      return {{"xdg-open", {}}, {"open", {}}};
  }
  return {};
}

bool is_executable_file(const std::string& file) {
  struct stat info {};
  return stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(file.c_str(), X_OK) == 0;
}

bool is_readable_file(const std::string& file) {
  struct stat info {};
  return stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(file.c_str(), R_OK) == 0;
}

std::optional<std::string> first_soundfont(const std::vector<std::string>& soundfonts) {
  for (const auto& file : soundfonts)
    if (is_readable_file(file)) return file;
  return std::nullopt;
}

std::optional<PlayerCommand> from_variable(const std::string& value, const std::string& path) {
  std::vector<std::string> words = split_command_words(value);
  if (words.empty()) return std::nullopt;
  std::optional<std::string> program = find_program(words.front(), path);
  if (!program) return std::nullopt;
  return PlayerCommand{*program, std::move(words)};
}

std::optional<PlayerCommand> from_path(MediaKind kind, const PlayerSearch& search) {
  for (Candidate& candidate : candidates(kind)) {
    std::optional<std::string> program = find_program(candidate.name, search.path);
    if (!program) continue;
    PlayerCommand command{*program, {candidate.name}};
    command.args.insert(command.args.end(), candidate.options.begin(), candidate.options.end());
    if (candidate.needs_soundfont) {
      std::optional<std::string> soundfont = first_soundfont(search.soundfonts);
      if (!soundfont) continue;
      command.args.push_back(*soundfont);
    }
    return command;
  }
  return std::nullopt;
}

}  // namespace

PlayerSearch make_system_search() {
  PlayerSearch search;
  search.getenv = [](const std::string& name) -> std::optional<std::string> {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  };
  const char* path = std::getenv("PATH");
  search.path = path != nullptr ? path : "/usr/bin:/bin";
  search.soundfonts = {
      "/usr/share/sounds/sf2/default-GM.sf2",    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
      "/usr/share/soundfonts/default.sf2",       "/usr/share/soundfonts/FluidR3_GM.sf2",
      "/usr/local/share/soundfonts/default.sf2", "/opt/homebrew/share/soundfonts/default.sf2",
  };
  return search;
}

const char* player_variable(MediaKind kind) {
  switch (kind) {
    case MediaKind::kMidi:
      return "TINDEL_MIDI_PLAYER";
    case MediaKind::kWave:
      return "TINDEL_WAVE_PLAYER";
    case MediaKind::kImage:
      return "TINDEL_IMAGE_VIEWER";
  }
  return "";
}

std::optional<std::string> find_program(const std::string& name, const std::string& path) {
  if (name.empty()) return std::nullopt;
  if (name.find('/') != std::string::npos) return name;
  if (path.empty()) return std::nullopt;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    // An empty entry of PATH is the current directory.
    std::string file = end > start ? path.substr(start, end - start) : std::string(".");
    file += '/';
    file += name;
    if (is_executable_file(file)) return file;
    start = end + 1;
  }
  return std::nullopt;
}

std::optional<PlayerCommand> choose_player(MediaKind kind, const PlayerSearch& search) {
  std::optional<std::string> value;
  if (search.getenv) value = search.getenv(player_variable(kind));
  if (value) return from_variable(*value, search.path);
  return from_path(kind, search);
}

std::string file_argument(const std::string& file) {
  if (!file.empty() && file.front() == '-') return "./" + file;
  return file;
}

}  // namespace tindel
