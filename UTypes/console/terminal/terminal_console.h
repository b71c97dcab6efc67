#pragma once
// The console on a terminal (standard input and output are terminals): raw keys, colours,
// and a screen model kept on the terminal by sending only what changed.
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "UTypes/charset/locale_charset.h"
#include "UTypes/console/console.h"
#include "UTypes/console/key_reader.h"
#include "UTypes/console/menu_clicks.h"
#include "UTypes/console/screen_model.h"
#include "UTypes/console/terminal/ansi_colours.h"
#include "UTypes/console/terminal/edited_line.h"
#include "UTypes/console/terminal/line_editor.h"
#include "UTypes/console/terminal/picture/picture_overlay.h"
#include "UTypes/console/terminal/terminal_guard.h"
#include "UTypes/console/terminal/terminal_painter.h"
#include "UTypes/media/picture_sink.h"

namespace tindel {

struct TerminalOptions {
  bool no_color = false;  // NO_COLOR: no colours, the highlighted menu entry in reverse video
  // The accessible mode: while a menu waits the cursor stands on its highlighted entry, and
  // pictures are not drawn (the echo line names them).
  bool accessible = false;
};

// A picture shown on it covers the screen until the next key, which closes it and does
// nothing else; meanwhile output goes on into the model, painted again at the close.
// While a menu waits the terminal reports the mouse: a click on an entry or the wheel comes
// in as the keys a player would type for it.
class TerminalConsole : public Console, public PictureSink, private ScreenModel::ScrollListener {
 public:
  // in_fd and out_fd are the same terminal, which speaks charset.
  TerminalConsole(int in_fd, int out_fd, const Charset& charset, TerminalOptions options);
  ~TerminalConsole() override { restore(); }
  TerminalConsole(const TerminalConsole&) = delete;
  TerminalConsole& operator=(const TerminalConsole&) = delete;

  // Gives the terminal back: settings, colours, cursor, title; the cursor below the output.
  void restore();

  std::uint8_t readkey() override;
  std::uint8_t pollbreak() override;
  std::uint8_t waitkey() override;
  std::optional<std::string> readline() override;
  void menutick() override;
  void discard_pending() override;

  void set_title(std::string_view title) override;
  void showcursor(bool visible) override;
  void clrscr(std::uint8_t attr) override;
  void conwrite(std::string_view bytes, std::uint8_t attr) override;
  void conwrite_highlighted(std::string_view bytes, std::uint8_t attr) override;
  int wherey() override { return model_.cursor_y() + 1; }
  void gotoxy(int x, int y) override;
  void flush() override { render(); }
  std::optional<ScreenImage> screen_image() override { return model_.image(); }
  void show_screen_image(const ScreenImage& image) override;
  void menu_entries(int first_row, int count, int highlighted) override;

  std::string show_picture(const std::string& file) override;

 private:
  void before_scroll(const ScreenModel& model) override;
  // Takes in a resize or a continue after a stop; true if the screen must be drawn anew.
  bool follow_signals();
  // Brings the terminal up to date with the model (after following the signals).
  void render();
  // While the script runs, what it writes reaches the screen within kPaintInterval of the
  // first change not yet painted, at one paint per interval however much is written; a
  // menu drawn and waited on at once is painted only when it is complete.
  void changed();
  void render_soon();
  void paint();
  void send();
  // The next key for the line editor; nullopt when woken for a resize or a continue.
  std::optional<DecodedKey> next_edit_key();
  std::string farewell() const;
  std::string title_sequence() const;
  std::string cursor_sequence() const;
  // The next key, the keys of a click first; a key that closes a picture is taken and gives
  // nothing.
  std::optional<std::uint8_t> take_key();
  // A click or the wheel: its keys queued; true when a press closed the picture instead,
  // which is all it does, as a key that closes the picture.
  bool take_mouse(const MouseReport& report);
  void report_mouse(bool on);
  // Accessible: the terminal's cursor to the highlighted entry of a menu that waits.
  void follow_highlight();
  void wait_for_picture_key();
  void close_picture();
  PictureArea picture_area() const;

  int in_fd_;
  int out_fd_;
  bool accessible_;
  Charset charset_;
  TerminalGuard guard_;
  ScreenModel model_;
  TerminalPainter painter_;
  KeyReader reader_;
  PictureOverlay picture_;
  std::string out_;  // bytes waiting to be sent
  std::string title_;
  bool cursor_visible_ = true;
  std::uint8_t attr_ = 7;
  std::uint8_t cleared_attr_ = 7;          // the colours of the last clear, the blanks' own
  std::vector<std::string> typed_lines_;   // for Up and Down in the line editor
  MenuEntries entries_;                    // as the menu last told them
  std::deque<std::uint8_t> clicked_keys_;  // the keys of a click not yet taken
  bool mouse_reported_ = false;            // the terminal's mouse mode is on
  EditedLine edited_;
  bool restored_ = false;
  std::chrono::steady_clock::time_point last_break_poll_{};
  std::chrono::steady_clock::time_point unpainted_since_{};
  bool unpainted_ = false;  // the model changed since the last paint
  // Accessible: the row of the highlighted entry of the menu that waits, until the next write.
  std::optional<int> reading_row_;
};

}  // namespace tindel
