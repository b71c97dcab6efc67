#include "author/walk_console.h"

#include <fcntl.h>
#include <unistd.h>

#include "UTypes/state/program_end.h"

namespace tindel::author {

WalkConsole::WalkConsole(StepOver step_over) : step_over_(std::move(step_over)) {
  output_file_ = std::tmpfile();  // unnamed: gone when closed
  null_input_ = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (!output_file_) throw ProgramEnd{exit_status::kIoFailure, "tindel-author: no temporary file"};
  screen_.emplace(null_input_, ::fileno(output_file_), true);
}

WalkConsole::~WalkConsole() {
  screen_.reset();
  if (output_file_) std::fclose(output_file_);
  if (null_input_ >= 0) ::close(null_input_);
}

namespace {

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

std::string WalkConsole::take_output(bool at_end) {
  if (at_end) {
    screen_->flush();
  } else {
    screen_->show_settled_rows();
  }
  std::string settled;
  char buffer[4096];
  for (;;) {
    ssize_t n = ::pread(::fileno(output_file_), buffer, sizeof buffer, read_to_);
    if (n <= 0) break;
    settled.append(buffer, static_cast<std::size_t>(n));
    read_to_ += n;
  }
  std::vector<std::string> lines = split_lines(settled);
  std::size_t seen = 0;
  while (seen < lines.size() && seen < unsettled_.size() && lines[seen] == unsettled_[seen])
    ++seen;
  std::string text;
  for (std::size_t i = seen; i < lines.size(); ++i)
    text += lines[i] + "\n";
  std::string below = at_end ? std::string() : screen_->unsettled_rows();
  unsettled_ = split_lines(below);
  text += below + notes_;
  notes_.clear();
  return text;
}

bool WalkConsole::next_step() {
  NextKeys next;
  if (!step_over_(take_output(), next)) return false;
  keys_.assign(next.keys.begin(), next.keys.end());
  line_ = next.line;
  return true;
}

// A typed line asked for as keys comes as its characters and Enter.
std::uint8_t WalkConsole::readkey() {
  while (keys_.empty()) {
    if (line_) {
      keys_.assign(line_->begin(), line_->end());
      keys_.push_back(key::kEnter);
      line_.reset();
      break;
    }
    if (!next_step()) throw ProgramEnd{exit_status::kOk, ""};
  }
  std::uint8_t k = keys_.front();
  keys_.pop_front();
  return k;
}

std::optional<std::string> WalkConsole::readline() {
  while (!line_) {
    if (!keys_.empty()) {
      std::string typed;
      while (!keys_.empty() && keys_.front() != key::kEnter) {
        typed.push_back(static_cast<char>(keys_.front()));
        keys_.pop_front();
      }
      if (!keys_.empty()) keys_.pop_front();
      line_ = typed;
      break;
    }
    if (!next_step()) return std::nullopt;
  }
  std::string line = *line_;
  line_.reset();
  screen_->conwrite(line + "\r\n", 7);  // as the player would see it typed
  return line;
}

}  // namespace tindel::author
