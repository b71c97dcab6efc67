#pragma once
// The screen and key operations the interpreter needs from a console. Every front end
// (terminal, stream, scripted for tests) implements both halves; nothing else in the
// interpreter touches the terminal.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "UTypes/console/screen_model.h"

namespace tindel {

// Key codes as the interpreter sees them: CP866 characters, Enter 13, Escape 27, Up 72,
// Down 80, other keys without a character as the low byte of their Windows virtual-key code.
namespace key {
constexpr std::uint8_t kNone = 0;
constexpr std::uint8_t kBackspace = 8;
constexpr std::uint8_t kEnter = 13;
constexpr std::uint8_t kEscape = 27;
constexpr std::uint8_t kUp = 72;
constexpr std::uint8_t kDown = 80;
constexpr std::uint8_t kLeft = 37;
constexpr std::uint8_t kRight = 39;
constexpr std::uint8_t kHome = 36;
constexpr std::uint8_t kEnd = 35;
constexpr std::uint8_t kDelete = 46;
constexpr std::uint8_t kF1 = 112;
constexpr std::uint8_t kF6 = 117;
}  // namespace key

class KeyInput {
 public:
  virtual ~KeyInput() = default;
  // Code of the next waiting key, or 0 at once when none waits.
  virtual std::uint8_t readkey() = 0;
  // The scanner's Escape poll at a line end. A stream front end answers 0 without reading.
  virtual std::uint8_t pollbreak() = 0;
  // Blocks (without spinning) until a key arrives and returns its code; may return 0 when
  // woken for another reason (a resize). At the end of a stream input the program ends.
  virtual std::uint8_t waitkey() = 0;
  // One line typed by the player, in CP866, without its line end; nullopt at end of input.
  virtual std::optional<std::string> readline() = 0;
  // The menu's pause between passes: 55 ms.
  virtual void menutick() = 0;
  // Drops every key already waiting (start-up).
  virtual void discard_pending() = 0;
};

class ScreenOutput {
 public:
  virtual ~ScreenOutput() = default;
  virtual void set_title(std::string_view title) = 0;
  virtual void showcursor(bool visible) = 0;
  // Clears the whole screen in attribute attr and homes the cursor.
  virtual void clrscr(std::uint8_t attr) = 0;
  // Writes CP866 bytes at the cursor in attribute attr (CR, LF, wrapping and scrolling
  // follow the Windows console's rules).
  virtual void conwrite(std::string_view bytes, std::uint8_t attr) = 0;
  // As conwrite, for the caption of the highlighted menu entry: a screen without colours
  // shows it in reverse video.
  virtual void conwrite_highlighted(std::string_view bytes, std::uint8_t attr) {
    conwrite(bytes, attr);
  }
  virtual int wherey() = 0;               // 1-based cursor row
  virtual void gotoxy(int x, int y) = 0;  // 1-based column and row; out of range: nothing
  virtual void flush() = 0;               // show everything written so far
  // The screen as it stands, for a moment of play to show again; nullopt from a front end
  // that keeps no screen (a pipe), which shows the moment's text again instead.
  virtual std::optional<ScreenImage> screen_image() { return std::nullopt; }
  virtual void show_screen_image(const ScreenImage&) {}
  // The menu's entries as they stand: entry i (0-based) on 1-based row first_row + i, and the
  // one Enter would choose; count 0 when the menu stops waiting. Front ends that take clicks
  // or taps use it; the others ignore it.
  virtual void menu_entries([[maybe_unused]] int first_row, [[maybe_unused]] int count,
                            [[maybe_unused]] int highlighted) {}
  // Written before each entry of a menu's list, so that a screen without colours shows which
  // entry is highlighted; empty where the colours show it.
  virtual std::string_view menu_mark(bool /*highlighted*/) const { return {}; }
};

class Console : public KeyInput, public ScreenOutput {};

}  // namespace tindel
