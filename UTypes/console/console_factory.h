#pragma once
// Chooses the console for this run: the terminal front end when standard input and output
// are both terminals, the stream front end for pipes and files.
#include <memory>
#include <string_view>

#include "UTypes/console/console.h"

namespace tindel {

// Reads NO_COLOR and the character set of the locale (main() calls setlocale first).
std::unique_ptr<Console> make_console();

// Whether a character set name (nl_langinfo(CODESET)) means UTF-8: "UTF-8", "utf8", ...
bool is_utf8_codeset(std::string_view codeset);

}  // namespace tindel
