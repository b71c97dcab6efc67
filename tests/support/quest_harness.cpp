#include "support/quest_harness.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "UTypes/console/console_ops.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/source/scanner.h"
#include "UTypes/state/program_end.h"
#include "UTypes/statements/parser.h"
#include "program/startup.h"

namespace tindel::testing {

std::string crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tindel-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  previous_ = std::filesystem::current_path().string();
  std::filesystem::current_path(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::current_path(previous_, ec);
  std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(path_ + "/" + name, std::ios::binary);
  out << bytes;
}

std::string TempDir::read(const std::string& name) const {
  std::ifstream in(path_ + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempDir::exists(const std::string& name) const {
  return std::filesystem::exists(path_ + "/" + name);
}

std::string QuestRun::output() const {
  std::string text = screen();
  // The banner and the six usage lines come first in every run.
  std::size_t at = 0;
  for (int i = 0; i < 7 && at != std::string::npos; ++i) {
    at = text.find('\n', at);
    if (at != std::string::npos) ++at;
  }
  return at == std::string::npos ? std::string() : text.substr(at);
}

void write_quest(const TempDir& dir, const std::string& quest, const RunOptions& options) {
  std::string name = options.args.size() == 3 ? options.args[2] : "stackle.qst";
  dir.write(name, options.convert_line_ends ? crlf(quest) : quest);
}

QuestRun run_quest(const TempDir& dir, const std::string& quest, RunOptions options) {
  write_quest(dir, quest, options);
  QuestRun run;
  run.state->statements_left = options.statement_limit;
  if (options.input) options.input(*run.console);
  RunResult result = run_program(*run.state, options.args,
                                 {*run.console, run.media, options.seed,
                                  Charset{CharsetKind::kCp866}, false, options.moments});
  run.status = result.status;
  run.note = result.note;
  return run;
}

Interp::Interp(const std::string& quest, int syntax_level, bool convert_line_ends) {
  InterpreterState& st = *state_;
  dir_.write("quest.qst", convert_line_ends ? crlf(quest) : quest);
  coninit(st, *console_);
  st.media = &media_;
  for (int i = 0; i < kTokenKinds; ++i)
    st.token_names[static_cast<std::size_t>(i)] = default_token_name(static_cast<TokenKind>(i));
  st.quest_name = "quest.qst";
  st.syntax_level = syntax_level;
  st.random.seed(1);
  create_system_variables(st);
  if (!st.quest_file.open(st.quest_name)) throw std::runtime_error("quest not written");
  getchar(st);
  gettoken(st);
}

int Interp::run_statements(int max_statements) {
  try {
    for (int i = 0; i < max_statements; ++i) {
      if (state_->token_kind == TokenKind::Eof && state_->cur_char == kEndOfFile) return -1;
      parser(*state_);
    }
  } catch (const ProgramEnd& end) {
    return end.status;
  }
  return -1;
}

}  // namespace tindel::testing
