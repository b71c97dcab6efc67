#pragma once
// Choosing the outside program that plays each kind of medium.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tindel {

enum class MediaKind { kMidi, kWave, kImage };

// A program ready to start: its file and the words before the medium's file name.
struct PlayerCommand {
  std::string program;            // the path that is started
  std::vector<std::string> args;  // argv, the name first; the medium's file goes last
};

// Where players are looked for; make_system_search() gives the real process's values.
struct PlayerSearch {
  // Returns an environment variable, or nothing when it is not set.
  std::function<std::optional<std::string>(const std::string&)> getenv;
  std::string path;                     // the directories of PATH, separated by ':'
  std::vector<std::string> soundfonts;  // default soundfonts, the first present one is used
};

PlayerSearch make_system_search();

// The variable that names the player of a kind, e.g. "TINDEL_MIDI_PLAYER".
const char* player_variable(MediaKind kind);

// The file of an executable `name` on `path`; a name with a '/' is taken as it is.
std::optional<std::string> find_program(const std::string& name, const std::string& path);

// The player of a kind: the one the variable names (set but empty: none), else the first
// suitable program found on the path; nothing when no player is available.
std::optional<PlayerCommand> choose_player(MediaKind kind, const PlayerSearch& search);

// The medium's file as a player's argument: a leading '-' would read as an option, so such a
// name is given as "./-name".
std::string file_argument(const std::string& file);

}  // namespace tindel
