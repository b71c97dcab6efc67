#pragma once
// A watcher of a syntax-check run, for the authors' tools: it hears of every error and
// warning the check finds, of every token the scanner reads and of every variable looked up.
// The player's program never sets one, and then nothing here costs more than a test.
#include <cstdint>
#include <string_view>

namespace tindel {

struct InterpreterState;

// Where something begins in the quest: the scanner's line and column (both from 1).
struct SourcePlace {
  std::int32_t line = 1;
  std::int32_t column = 1;
};

class CheckObserver {
 public:
  virtual ~CheckObserver() = default;
  // An error, before anything is written or shown. Throwing from here lets the check go on
  // elsewhere; returning lets the report end the run as it always does.
  virtual void error(InterpreterState& s, std::string_view message) = 0;
  // A warning (its text after "warning: STR <line>"); the console line is not written.
  virtual void warning(InterpreterState& s, std::string_view tail) = 0;
  // A token the scanner has just read; token_start says where its first piece began.
  virtual void token(InterpreterState& s) = 0;
  // A variable table key ("$gold", ";key", "%name") that is being looked up.
  virtual void lookup(InterpreterState& s, std::string_view key) = 0;
};

}  // namespace tindel
