// The player commands: a command text split into words, and a player chosen from such a
// text in the environment (a path without directories, so nothing is started or found).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "UTypes/media/external/command_words.h"
#include "UTypes/media/external/player_command.h"
#include "fuzz/fuzz_run.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(tindel::fuzz::as_text(data, size));
  std::size_t letters = 0;
  for (const std::string& word : tindel::split_command_words(text))
    letters += word.size();
  check(letters <= text.size());  // quotes and backslashes only ever take characters away
  tindel::PlayerSearch search{
      .getenv = [&text](const std::string&) { return std::optional<std::string>(text); },
      .path = "",
      .soundfonts = {},
  };
  for (auto kind : {tindel::MediaKind::kMidi, tindel::MediaKind::kWave, tindel::MediaKind::kImage})
    if (auto player = tindel::choose_player(kind, search)) check(!player->program.empty());
  tindel::file_argument(text);
  return 0;
}
