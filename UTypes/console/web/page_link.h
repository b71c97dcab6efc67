#pragma once
// What the page does for the console: it shows what a terminal would be sent, hands over
// what the player typed (as a terminal would send it), and gives the browser its thread back
// while the interpreter waits. The page's entry implements it; tests fake it.
#include <string>
#include <string_view>

namespace tindel {

class PageLink {
 public:
  virtual ~PageLink() = default;
  // UTF-8 text with the escape sequences of an xterm.
  virtual void show(std::string_view terminal_bytes) = 0;
  virtual void set_title(std::string_view utf8_title) = 0;
  // Appends the bytes typed since the last call. When none wait, first waits for some, at most
  // timeout_ms (0: not at all; -1: for as long as it takes), without holding the browser.
  virtual void take_typed(std::string& to, int timeout_ms) = 0;
  // Gives the browser its thread for ms milliseconds.
  virtual void pause(int ms) = 0;
};

}  // namespace tindel
