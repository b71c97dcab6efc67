#include "program/command_line.h"

#include <sys/stat.h>

#include <string_view>

namespace tindel {

const char* const kBannerLine = "Tindel v0.0.9\r\n";
const char* const kUsageText =
    "usage: tindel <mode> <codepage> <file_name.qst>\r\n"
    "mode: 0 - play; 1 - load_game; 2 - check syntax; 3 - check syntax and labels\r\n"
    "<codepage> - w / d\r\n"
    "examples: tindel 0 w stackle.qst\r\n"
    "          tindel 3 w pinewick.qst\r\n"
    "          tindel 0 d hopplet.qst\r\n";

namespace {

constexpr const char* kMoreHelp =
    "       tindel <file_name.qst>    play the file (mode 0, code page w)\n"
    "       tindel                    play stackle.qst; tindel 1 resumes it from save.txt\n"
    "       tindel --accessible ...   for screen readers and braille displays: the\n"
    "                                 cursor on the highlighted entry, marked \"> \";\n"
    "                                 entries numbered, 1 to 9 choose; no pictures\n"
    "       tindel --continue <file_name.qst>  go on from the last menu of the last game\n"
    "       tindel --no-back <file_name.qst>   no Back (Backspace) or restart (Ctrl+R)\n"
    "more modes: 4 - check syntax and labels, tracing every statement to log.txt;\n"
    "            5 - play with the trace; 6 - load_game with the trace\n"
    "code pages: w - Windows-1251; d - DOS (CP866); u - UTF-8\n"
    "environment:\n"
    "  TINDEL_ACCESSIBLE=1     the accessible mode, as --accessible\n"
    "  TINDEL_TRANSCRIPT=FILE  write a plain transcript of the game to FILE\n"
    "  TINDEL_SEED=N           seed the random numbers, so that runs repeat\n"
    "  TINDEL_NO_BACK=1        as --no-back\n"
    "  TINDEL_CONTINUE=1       offer to continue the last game of the quest at the start\n"
    "  TINDEL_MIDI_PLAYER, TINDEL_WAVE_PLAYER, TINDEL_IMAGE_VIEWER  media programs\n"
    "                          (set but empty: that medium is off)\n"
    "  TINDEL_SOUNDFONT=FILE   the General MIDI soundfont (.sf2) for tunes\n"
    "  TINDEL_MEDIA_LOG=FILE   a line in FILE for every media event and failure\n"
    "  NO_COLOR                no colours; the highlighted entry in reverse video\n"
    "  TERM=dumb               no escape sequences: the screen as plain lines\n"
    "  LC_ALL, LC_CTYPE, LANG  the character set of the terminal and of media file names\n"
    "See tindel(1).\n";

// The program's own lines end in CR LF; on standard output they end in LF.
std::string with_lf(const char* text) {
  std::string out;
  for (const char* p = text; *p; ++p)
    if (*p != '\r') out.push_back(*p);
  return out;
}

bool is_regular_file(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// ".qst" or ".qs1" at the end, in any case: the player meant a quest, even a mistyped one.
bool has_quest_extension(const std::string& name) {
  if (name.size() < 4) return false;
  std::string tail = name.substr(name.size() - 4);
  for (char& c : tail)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return tail == ".qst" || tail == ".qs1";
}

}  // namespace

std::optional<std::string> information_request(const std::vector<std::string>& args) {
  if (args.size() != 1) return std::nullopt;
  if (args[0] == "--version") return with_lf(kBannerLine);
  if (args[0] == "-h" || args[0] == "--help")
    return with_lf(kBannerLine) + with_lf(kUsageText) + kMoreHelp;
  return std::nullopt;
}

bool names_quest_file(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0] == "1" || args[0] == "6") return false;
  return has_quest_extension(args[0]) || is_regular_file(args[0]);
}

bool take_accessible_request(std::vector<std::string>& args, const char* environment_value) {
  const auto before = args.size();
  std::erase(args, std::string("--accessible"));
  const std::string_view value = environment_value ? environment_value : "";
  return args.size() != before || (!value.empty() && value != "0");
}

PlayerSwitches take_player_switches(std::vector<std::string>& args) {
  PlayerSwitches switches;
  std::erase_if(args, [&](const std::string& arg) {
    if (arg == "--no-back") switches.no_back = true;
    if (arg == "--continue") switches.continue_game = true;
    return arg == "--no-back" || arg == "--continue";
  });
  return switches;
}

bool utf8_codepage(const std::vector<std::string>& args) {
  return args.size() == 3 && args[1] == "u";
}

}  // namespace tindel
