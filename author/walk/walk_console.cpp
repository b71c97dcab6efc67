#include "author/walk/walk_console.h"

#include <unistd.h>

#include "UTypes/state/program_end.h"

namespace tindel::author {

WalkConsole::WalkConsole(StepOver step_over) : step_over_(std::move(step_over)) {
  output_file_ = std::tmpfile();  // unnamed: gone when closed
  if (!output_file_) throw ProgramEnd{exit_status::kIoFailure, "tindel-author: no temporary file"};
  screen_.emplace(::fileno(output_file_), Charset(CharsetKind::kUtf8));
  screen_->show_live();
}

WalkConsole::~WalkConsole() {
  screen_.reset();
  if (output_file_) std::fclose(output_file_);
}

std::string WalkConsole::take_output(bool at_end) {
  if (at_end) {
    screen_->flush();
  } else {
    screen_->settle();
  }
  std::string text;
  char buffer[4096];
  for (;;) {
    ssize_t n = ::pread(::fileno(output_file_), buffer, sizeof buffer, read_to_);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    read_to_ += n;
  }
  // The prompt went with the last step; when its row goes out unchanged it is not news.
  if (!prompt_.empty() && text.starts_with(prompt_ + "\n")) text.erase(0, prompt_.size() + 1);
  prompt_ = at_end ? std::string() : screen_->cursor_row();
  while (!prompt_.empty() && prompt_.back() == ' ')
    prompt_.pop_back();
  if (!prompt_.empty()) text += prompt_ + "\n";
  text += notes_;
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
  screen_->echo_line(line);  // as the player would see it typed
  return line;
}

}  // namespace tindel::author
