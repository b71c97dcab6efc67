#include "tests/media/media_test_support.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace tindel::media_test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tindel-media-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::script(const std::string& name, const std::string& body) const {
  std::string file = write(name, "#!/bin/sh\n" + body);
  chmod(file.c_str(), 0755);
  return file;
}

std::string TempDir::write(const std::string& name, const std::string& text) const {
  std::string file = this->file(name);
  std::ofstream(file) << text;
  return file;
}

std::string recorder_body(const TempDir& dir, const std::string& tag, const std::string& tail) {
  return "n=1\n"
         "while ! mkdir '" +
         dir.file(tag) +
         ".'$n.lock 2>/dev/null; do n=$((n+1)); done\n"
         "out='" +
         dir.file(tag) +
         ".'$n\n"
         "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out.args\"\n"
         "echo $$ > \"$out.tmp\" && mv \"$out.tmp\" \"$out.pid\"\n" +
         tail + "\n";
}

Run wait_for_run(const TempDir& dir, const std::string& tag, int n) {
  std::string out = dir.file(tag) + "." + std::to_string(n);
  Run run;
  if (!wait_for([&] { return file_exists(out + ".pid"); })) return run;
  run.pid = static_cast<pid_t>(std::atol(read_file(out + ".pid").c_str()));
  std::istringstream args(read_file(out + ".args"));
  for (std::string line; std::getline(args, line);)
    run.args.push_back(line);
  return run;
}

bool wait_for(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

bool file_exists(const std::string& file) {
  return access(file.c_str(), F_OK) == 0;
}

std::string read_file(const std::string& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool is_unreaped_zombie(pid_t pid) {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == pid;
}

bool is_gone(pid_t pid) {
  return kill(pid, 0) != 0 && errno == ESRCH;
}

PlayerSearch search_with(std::map<std::string, std::string> variables, std::string path,
                         std::vector<std::string> soundfonts) {
  PlayerSearch search;
  search.getenv = [variables = std::move(variables)](const std::string& name) {
    auto found = variables.find(name);
    return found == variables.end() ? std::nullopt : std::optional<std::string>(found->second);
  };
  search.path = std::move(path);
  search.soundfonts = std::move(soundfonts);
  return search;
}

}  // namespace tindel::media_test
