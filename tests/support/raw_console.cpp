#include "support/raw_console.h"

#include "program/startup.h"

namespace tindel::testing {

void RawConsole::conwrite(std::string_view bytes, std::uint8_t attr) {
  writes.emplace_back(bytes);
  ScriptedConsole::conwrite(bytes, attr);
}

std::optional<std::string> RawConsole::readline() {
  ++line_reads;
  if (on_readline) on_readline();
  return ScriptedConsole::readline();
}

const std::string& RawRun::last_write() const {
  static const std::string none;
  return console->writes.empty() ? none : console->writes.back();
}

RawRun run_raw(const TempDir& dir, const std::string& quest, const RunOptions& options) {
  write_quest(dir, quest, options);
  RawRun run;
  if (options.input) options.input(*run.console);
  RunResult result = run_program(*run.state, options.args, {*run.console, run.media, options.seed});
  run.status = result.status;
  run.note = result.note;
  return run;
}

}  // namespace tindel::testing
