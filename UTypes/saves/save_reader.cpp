#include "UTypes/saves/save_reader.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "UTypes/state/program_end.h"

namespace tindel {

std::optional<std::string> SaveReader::next() {
  std::string text;
  errno = 0;
  if (!std::getline(in_, text)) {
    if (in_.bad()) fail(std::string("cannot be read: ") + std::strerror(errno ? errno : EIO));
    return std::nullopt;
  }
  if (!text.empty() && text.back() == '\r') text.pop_back();
  ++line_no_;
  return text;
}

std::string SaveReader::line() {
  std::optional<std::string> text = next();
  if (!text) fail("the file ends early");
  return *text;
}

std::int64_t SaveReader::integer(std::int64_t low, std::int64_t high) {
  std::string text = line();
  const char* start = text.c_str();
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(start, &end, 10);
  if (end == start || errno == ERANGE) fail("a whole number was expected");
  if (v < low || v > high) fail("the number " + std::to_string(v) + " is out of range");
  return v;
}

void SaveReader::fail(const std::string& why) const {
  int at = in_ ? line_no_ : line_no_ + 1;  // a line that could not be read is the next one
  io_failure(file_, "line " + std::to_string(at) + ": " + why);
}

}  // namespace tindel
