#pragma once
// Quest runs on a scripted console that also keeps every write as its bytes, trailing blanks
// and line ends included, and counts the lines read.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/quest_harness.h"

namespace tindel::testing {

class RawConsole : public ScriptedConsole {
 public:
  void conwrite(std::string_view bytes, std::uint8_t attr) override;
  std::optional<std::string> readline() override;

  std::vector<std::string> writes;  // one entry per conwrite call
  int line_reads = 0;
  std::function<void()> on_readline;  // runs as each line read begins
};

struct RawRun {
  int status = 0;
  std::string note;
  std::unique_ptr<InterpreterState> state = std::make_unique<InterpreterState>();
  std::unique_ptr<RawConsole> console = std::make_unique<RawConsole>();
  RecordingMedia media;
  const std::string& last_write() const;
};

// Like run_quest: the quest (converted to CR LF) as the file named in args, run in dir.
RawRun run_raw(const TempDir& dir, const std::string& quest, const RunOptions& options = {});

}  // namespace tindel::testing
