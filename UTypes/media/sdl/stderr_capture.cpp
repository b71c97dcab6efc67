#include "UTypes/media/sdl/stderr_capture.h"

#include <unistd.h>

#include <string>

namespace tindel {

StderrCapture::StderrCapture(const MediaLog& log) : log_(log) {
  std::fflush(stderr);
  sink_ = std::tmpfile();
  if (sink_ == nullptr) return;
  saved_fd_ = ::dup(STDERR_FILENO);
  if (saved_fd_ < 0 || ::dup2(::fileno(sink_), STDERR_FILENO) < 0) {
    if (saved_fd_ >= 0) ::close(saved_fd_);
    saved_fd_ = -1;
  }
}

StderrCapture::~StderrCapture() {
  std::fflush(stderr);
  if (saved_fd_ >= 0) {
    ::dup2(saved_fd_, STDERR_FILENO);
    ::close(saved_fd_);
  }
  if (sink_ == nullptr) return;
  std::rewind(sink_);
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, sink_) != nullptr) {
    std::string line = buffer;
    if (line.find_first_not_of(" \t\r\n") != std::string::npos) log_.write("library: " + line);
  }
  std::fclose(sink_);
}

}  // namespace tindel
