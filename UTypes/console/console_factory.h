#pragma once
// Chooses the console for this run: the terminal front end when standard input and output
// are both terminals (a plain one when the terminal takes no escape sequences), the terminal
// through /dev/tty with a transcript on standard output when only standard input is one, and
// the stream front end for pipes and files.
#include <memory>

#include "UTypes/charset/locale_charset.h"
#include "UTypes/console/console.h"

namespace tindel {

// Reads NO_COLOR and TERM; the terminal or the stream speaks charset. transcript_fd, when
// not -1, receives a plain transcript of a game played in a terminal (TINDEL_TRANSCRIPT).
std::unique_ptr<Console> make_console(const Charset& charset, int transcript_fd = -1);

// TERM unset, empty or "dumb": a terminal that must get no escape sequences.
bool terminal_is_dumb(const char* term);

}  // namespace tindel
