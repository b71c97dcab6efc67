#pragma once
// What the fuzz targets share: a private working folder, and one run of the whole program
// inside the process on quest bytes, with scripted keys and lines and no media.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tindel::fuzz {

struct QuestInput {
  std::vector<std::string> args;                // the command line, e.g. {"2", "w", "quest.qst"}
  std::string_view quest;                       // written under args[2]
  std::vector<std::uint8_t> keys{};             // menu and anykey keys, in order
  std::vector<std::string> lines{};             // lines for input and the wait after an error
  std::optional<std::string_view> save_game{};  // written as save.txt when given
  // Written as the quest's file of moments when given; the run continues from it, with Back
  // and restart on.
  std::optional<std::string_view> moments_file{};
  std::int64_t statement_limit = 20000;
  bool accessible = false;  // the accessible mode: numbered entries, digits that choose
};

// Runs the program to its end in a private temporary folder, so that what it writes (debug.txt,
// saves) stays there; the caller's current directory is the same again afterwards, because
// libFuzzer reads the corpus by relative paths between runs. Returns the exit status.
int run_quest(const QuestInput& input);

// The input split at its first byte `separator`: the part before it and the rest after it
// (empty when there is none).
std::pair<std::string_view, std::string_view> split_at(std::string_view bytes, char separator);

// Lines separated by "\n".
std::vector<std::string> lines_of(std::string_view bytes);

// The code page a choice byte's two bits name: w, d, u, and w again.
inline const char* codepage_of(std::uint8_t bits) {
  static const char* const kPages[] = {"w", "d", "u", "w"};
  return kPages[bits & 3];
}

// The input as text, for the targets that take it whole.
inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tindel::fuzz
