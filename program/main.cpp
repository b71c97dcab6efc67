// Entry: chooses the console front end and the media players, runs the interpreter and
// leaves the terminal as it found it.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "UTypes/console/console_factory.h"
#include "UTypes/media/media_router.h"
#include "program/command_line.h"
#include "program/startup.h"

namespace {

// TINDEL_SEED makes runs reproducible: tests and walkthroughs replay exactly.
std::optional<std::uint32_t> seed_from_environment() {
  const char* text = std::getenv("TINDEL_SEED");
  if (!text || !*text) return std::nullopt;
  char* end = nullptr;
  unsigned long long v = std::strtoull(text, &end, 10);
  if (*end != '\0') return std::nullopt;
  return static_cast<std::uint32_t>(v);
}

// TINDEL_TRANSCRIPT=FILE: a transcript of the game into FILE; -1 when not asked for, -2 when
// FILE cannot be written (said on stderr).
int open_transcript() {
  const char* path = std::getenv("TINDEL_TRANSCRIPT");
  if (!path || !*path) return -1;
  int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) std::cerr << "tindel: " << path << ": " << std::strerror(errno) << '\n';
  return fd < 0 ? -2 : fd;
}

bool environment_flag(const char* name) {
  const char* text = std::getenv(name);
  return text && std::string_view(text) == "1";
}

// Back and restart unless the player or the quest's author turned them off; the file of
// moments for every game played; the game in it when asked for.
tindel::MomentOptions moment_options(const tindel::PlayerSwitches& switches) {
  tindel::MomentOptions options;
  options.back_keys = !switches.no_back && !environment_flag("TINDEL_NO_BACK");
  options.keep_file = true;
  options.continue_game = switches.continue_game;
  options.offer_continue = environment_flag("TINDEL_CONTINUE");
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const bool accessible = tindel::take_accessible_request(args, std::getenv("TINDEL_ACCESSIBLE"));
  const tindel::PlayerSwitches switches = tindel::take_player_switches(args);
  if (auto text = tindel::information_request(args)) {
    std::cout << *text << std::flush;
    return 0;
  }
  const int transcript = open_transcript();
  if (transcript == -2) return 2;
  auto state = std::make_unique<tindel::InterpreterState>();
  tindel::RunResult result;
  {
    const tindel::Charset charset = tindel::locale_charset();
    auto console = tindel::make_console(charset, {transcript, accessible});
    auto media =
        tindel::make_system_media(dynamic_cast<tindel::PictureSink*>(console.get()), accessible);
    result = tindel::run_program(
        *state, args,
        {*console, *media, seed_from_environment(), charset, accessible, moment_options(switches)});
  }  // the console restores the terminal here
  if (transcript >= 0) ::close(transcript);
  if (!result.note.empty()) std::cerr << result.note << '\n';
  return result.status;
}
