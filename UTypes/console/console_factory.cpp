#include "UTypes/console/console_factory.h"

#include <langinfo.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <string>

#include "UTypes/console/stream_console.h"
#include "UTypes/console/terminal/terminal_console.h"

namespace tindel {

namespace {

// NO_COLOR counts when it is set to anything but the empty text.
bool no_color_requested() {
  const char* value = std::getenv("NO_COLOR");
  return value != nullptr && value[0] != '\0';
}

}  // namespace

bool is_utf8_codeset(std::string_view codeset) {
  std::string letters;
  for (char c : codeset)
    if (c != '-' && c != '_')
      letters.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  return letters == "utf8";
}

std::unique_ptr<Console> make_console() {
  const bool utf8 = is_utf8_codeset(::nl_langinfo(CODESET));
  if (::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO))
    return std::make_unique<TerminalConsole>(STDIN_FILENO, STDOUT_FILENO, utf8,
                                             no_color_requested());
  return std::make_unique<StreamConsole>(STDIN_FILENO, STDOUT_FILENO, utf8);
}

}  // namespace tindel
