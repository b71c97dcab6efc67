#pragma once
// What the fuzz targets share: a private working folder, and one run of the whole program
// inside the process on quest bytes, with scripted keys and lines and no media.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tindel::fuzz {

// Makes a fresh temporary folder the current directory (once per process).
void enter_work_folder();

// Writes bytes to a file of the current directory.
void write_file(const std::string& name, std::string_view bytes);

struct QuestInput {
  std::vector<std::string> args;       // the command line, e.g. {"2", "w", "quest.qst"}
  std::string_view quest;              // written under args[2]
  std::vector<std::uint8_t> keys{};    // menu and anykey keys, in order
  std::vector<std::string> lines{};    // lines for input and the wait after an error
  std::int64_t statement_limit = 20000;
};

// Runs the program to its end; returns its exit status.
int run_quest(const QuestInput& input);

// The input split at its first byte `separator`: the part before it and the rest after it
// (empty when there is none).
std::pair<std::string_view, std::string_view> split_at(std::string_view bytes, char separator);

// Lines separated by "\n".
std::vector<std::string> lines_of(std::string_view bytes);

// The input as text, for the targets that take it whole.
inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tindel::fuzz
