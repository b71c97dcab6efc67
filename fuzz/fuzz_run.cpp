#include "fuzz/fuzz_run.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "UTypes/console/scripted/scripted_console.h"
#include "UTypes/media/media_player.h"
#include "UTypes/moments/moments_file.h"
#include "UTypes/state/interpreter_state.h"
#include "program/startup.h"

namespace tindel::fuzz {

namespace {

int open_folder(const char* path) {
  int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) std::abort();
  return fd;
}

// The private folder, made once per process.
int work_folder() {
  static const int fd = [] {
    char pattern[] = "/tmp/tindel-fuzz-XXXXXX";
    if (!::mkdtemp(pattern)) std::abort();
    return open_folder(pattern);
  }();
  return fd;
}

// Inside the private folder for the life of the object.
class InWorkFolder {
 public:
  InWorkFolder() : caller_(open_folder(".")) {
    if (::fchdir(work_folder()) != 0) std::abort();
  }
  ~InWorkFolder() {
    if (::fchdir(caller_) != 0) std::abort();
    ::close(caller_);
  }
  InWorkFolder(const InWorkFolder&) = delete;
  InWorkFolder& operator=(const InWorkFolder&) = delete;

 private:
  int caller_;
};

void write_file(const std::string& name, std::string_view bytes) {
  int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) std::abort();
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) std::abort();
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
}

// The moments' file where the run will look for it: under the work folder as the state folder.
MomentOptions continue_from(const std::string& quest_name, std::string_view file) {
  char folder[4096];
  if (!::getcwd(folder, sizeof folder)) std::abort();
  ::setenv("XDG_STATE_HOME", folder, 1);
  if (!write_moments_file(moments_file_path(quest_name), file)) std::abort();
  return MomentOptions{.back_keys = true, .keep_file = true, .continue_game = true};
}

}  // namespace

int run_quest(const QuestInput& input) {
  InWorkFolder inside;
  write_file(input.args.size() == 3 ? input.args[2] : "stackle.qst", input.quest);
  if (input.save_game) write_file("save.txt", *input.save_game);
  const std::string quest_name = input.args.size() == 3 ? input.args[2] : "stackle.qst";
  MomentOptions moments;
  if (input.moments_file) moments = continue_from(quest_name, *input.moments_file);
  auto state = std::make_unique<InterpreterState>();
  state->statements_left = input.statement_limit;
  ScriptedConsole console;
  console.limit_ticks(input.statement_limit);  // a pause of days would hang the fuzzer
  for (std::uint8_t k : input.keys)
    console.add_key(k);
  for (const std::string& line : input.lines)
    console.add_line(line);
  SilentMedia media;
  return run_program(*state, input.args,
                     {console, media, 1u, Charset{CharsetKind::kCp866}, input.accessible, moments})
      .status;
}

std::pair<std::string_view, std::string_view> split_at(std::string_view bytes, char separator) {
  std::size_t at = bytes.find(separator);
  if (at == std::string_view::npos) return {bytes, {}};
  return {bytes.substr(0, at), bytes.substr(at + 1)};
}

std::vector<std::string> lines_of(std::string_view bytes) {
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    auto [line, rest] = split_at(bytes, '\n');
    lines.emplace_back(line);
    bytes = rest;
  }
  return lines;
}

}  // namespace tindel::fuzz
