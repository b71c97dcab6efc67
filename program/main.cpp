// Entry: chooses the console front end and the media players, runs the interpreter and
// leaves the terminal as it found it.
#include <langinfo.h>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "UTypes/console/console_factory.h"
#include "UTypes/media/media_router.h"
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

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  auto state = std::make_unique<tindel::InterpreterState>();
  tindel::RunResult result;
  {
    auto console = tindel::make_console();
    auto media = tindel::make_system_media(dynamic_cast<tindel::PictureSink*>(console.get()));
    bool utf8 = tindel::is_utf8_codeset(nl_langinfo(CODESET));
    result = tindel::run_program(*state, args, {*console, *media, seed_from_environment(), utf8});
  }  // the console restores the terminal here
  if (!result.note.empty()) std::cerr << result.note << '\n';
  return result.status;
}
