#pragma once
// The end of the program, carried as an exception up to main(): the library never exits.
#include <string>

namespace tindel {

namespace exit_status {
constexpr int kOk = 0;          // a finished check, the player's own quit, a quest run to its end
constexpr int kScriptError = 1; // an error report, or a quest file that is not found
constexpr int kIoFailure = 2;   // a file that cannot be created or read as required
}  // namespace exit_status

struct ProgramEnd {
  int status = exit_status::kOk;
  std::string note;  // one line for stderr, or empty
};

// Ends the program with an input/output failure: "tindel: <file>: <reason>" on stderr.
[[noreturn]] void io_failure(const std::string& file, const std::string& reason);

}  // namespace tindel
