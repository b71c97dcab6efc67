#pragma once
// Saved games written out by hand for tests: the table that start-up leaves, changed slot by
// slot, as the CR LF text the program writes and reads.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tindel::testing {

struct SaveText {
  std::string header = "Skein-save. by hand";
  std::string quest = "quest.qst";
  std::string common = "common";
  std::string label = "start";
  std::vector<std::int32_t> calls;
  std::array<std::string, 751> slots;  // each slot's whole line, "0.000 " when free

  // The slots exactly as start-up creates the system variables.
  SaveText();
  // All lines, in order, without line ends ("eof" last).
  std::vector<std::string> lines() const;
  // The file: every line ended by CR LF.
  std::string text() const;
};

// Joins lines, each ended by CR LF.
std::string crlf_lines(const std::vector<std::string>& lines);

// Splits a text at CR LF; a last line without its CR LF counts too.
std::vector<std::string> split_crlf(const std::string& text);

// The whole file at path (relative to the current directory); empty when it is missing.
std::string read_file(const std::string& path);

}  // namespace tindel::testing
