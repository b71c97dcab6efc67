#include "UTypes/media/media_log.h"

#include <cstdio>
#include <cstdlib>

namespace tindel {

MediaLog MediaLog::from_environment() {
  const char* file = std::getenv("TINDEL_MEDIA_LOG");
  return MediaLog(file != nullptr ? file : "");
}

void MediaLog::write(std::string_view text) const {
  if (file_.empty()) return;
  std::string line = "tindel media: ";
  for (char c : text)
    line.push_back(c == '\n' || c == '\r' ? ' ' : c);
  while (!line.empty() && line.back() == ' ')
    line.pop_back();
  line.push_back('\n');
  std::FILE* f = std::fopen(file_.c_str(), "a");
  if (f == nullptr) return;
  std::fwrite(line.data(), 1, line.size(), f);
  std::fclose(f);
}

}  // namespace tindel
