#pragma once
// What the page does for the console: it shows what a terminal would be sent, hands over
// what the player typed (as a terminal would send it), and gives the browser its thread back
// while the interpreter waits. The page's entry implements it; tests fake it.
#include <string>
#include <string_view>
#include <vector>

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
  // A line is being typed (`input`), or no longer: a phone brings up its keyboard for it.
  virtual void line_wanted(bool wanted) = 0;
  // Gives the browser its thread for ms milliseconds.
  virtual void pause(int ms) = 0;
  // The text of a new page, for a screen reader to read once.
  virtual void announce(std::string_view utf8_text) = 0;
  // The entries of the menu that waits, as captions, and the highlighted one; none when the
  // menu no longer waits.
  virtual void menu_options(const std::vector<std::string>& utf8_captions, int highlighted) = 0;
};

}  // namespace tindel
