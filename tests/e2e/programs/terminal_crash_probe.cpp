// A program that takes the terminal as the player does (raw keys, the title "Tindel", a
// hidden cursor, colours) and then dies of a stack overflow, for the test that the terminal
// is given back after a crash. Built for the tests only.
#include <climits>
#include <cstdio>

#include "UTypes/charset/locale_charset.h"
#include "UTypes/console/terminal/terminal_console.h"

namespace {

// Deep enough for any stack; every frame keeps its buffer alive, so it cannot be folded
// into a loop.
int dive(volatile const char* previous, long depth) {
  volatile char frame[512];
  frame[0] = previous[0];
  frame[511] = static_cast<char>(depth);
  if (depth == 0) return frame[0];
  return dive(frame, depth - 1) + frame[511];
}

}  // namespace

int main() {
  tindel::TerminalConsole console(0, 1, tindel::Charset(tindel::CharsetKind::kUtf8), false);
  console.set_title("Tindel");
  console.showcursor(false);
  console.conwrite("About to overflow the stack", 0x1E);
  console.flush();
  volatile char start = 'x';
  return dive(&start, LONG_MAX);
}
