#pragma once
// Reads a saved game line by line. Whatever cannot be read as the format requires ends the
// program with an input/output failure that names the file and the line.
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

namespace tindel {

class SaveReader {
 public:
  SaveReader(std::ifstream& in, std::string file) : in_(in), file_(std::move(file)) {}

  // The next line without its line end; nullopt at the end of the file.
  std::optional<std::string> next();
  // The next line, which must be there.
  std::string line();
  // A whole number at the start of the next line (leading blanks skipped, the rest of the
  // line ignored), within low..high.
  std::int64_t integer(std::int64_t low, std::int64_t high);
  // Ends the program: "<file>: line <n>: <why>" for the line being read.
  [[noreturn]] void fail(const std::string& why) const;

 private:
  std::ifstream& in_;
  std::string file_;
  int line_no_ = 0;  // lines read so far
};

}  // namespace tindel
