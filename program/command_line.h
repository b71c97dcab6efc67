#pragma once
// What the command line asks for beyond the three parameters of a run: the help and version
// requests, a quest file named alone, and code page "u".
#include <optional>
#include <string>
#include <vector>

namespace tindel {

// The banner line and the usage text that every run prints first, each line ended by CR LF.
extern const char* const kBannerLine;
extern const char* const kUsageText;

// "-h", "--help" or "--version" as the only parameter: the text to print on standard output
// (LF line ends) before the program ends with status 0; nullopt for a run.
std::optional<std::string> information_request(const std::vector<std::string>& args);

// A single parameter, other than "1" and "6" (which resume a saved game), that ends in ".qst"
// or ".qs1" (any case; whether or not the file exists) or names an existing regular file: the
// file is played in mode 0 with code page w.
bool names_quest_file(const std::vector<std::string>& args);

// "--accessible" anywhere among the parameters, or TINDEL_ACCESSIBLE (its value, or null when
// unset) set to anything but "" and "0", asks for the accessible mode; the parameter is taken
// out of args, so the others keep their places.
bool take_accessible_request(std::vector<std::string>& args, const char* environment_value);

// The player's switches of Back and continuing, taken out of the parameters: "--no-back"
// anywhere, "--continue" before the quest's name.
struct PlayerSwitches {
  bool no_back = false;
  bool continue_game = false;
};
PlayerSwitches take_player_switches(std::vector<std::string>& args);

// Code page "u" (UTF-8 text), which, like "d", counts only with exactly three parameters.
bool utf8_codepage(const std::vector<std::string>& args);

}  // namespace tindel
