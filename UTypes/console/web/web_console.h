#pragma once
// The console in a web page: the screen model painted by the terminal painter into an
// xterm.js screen, and the keys the page hands over decoded as a terminal's bytes. Every wait
// hands the browser its thread through the page link.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "UTypes/console/console.h"
#include "UTypes/console/key_decoder.h"
#include "UTypes/console/menu_clicks.h"
#include "UTypes/console/screen_model.h"
#include "UTypes/console/terminal/edited_line.h"
#include "UTypes/console/terminal/terminal_painter.h"
#include "UTypes/console/web/page_link.h"

namespace tindel {

class WebConsole : public Console, private ScreenModel::ScrollListener {
 public:
  static constexpr int kWidth = 80;
  static constexpr int kHeight = 25;

  // accessible: while a menu waits the cursor stands at the start of its highlighted entry.
  explicit WebConsole(PageLink& page, bool accessible = false);
  WebConsole(const WebConsole&) = delete;
  WebConsole& operator=(const WebConsole&) = delete;

  std::uint8_t readkey() override;
  std::uint8_t pollbreak() override;
  std::uint8_t waitkey() override;
  std::optional<std::string> readline() override;
  void menutick() override;
  void discard_pending() override { typed_.clear(); }

  void set_title(std::string_view title) override;
  void showcursor(bool visible) override;
  void clrscr(std::uint8_t attr) override;
  void conwrite(std::string_view bytes, std::uint8_t attr) override;
  int wherey() override { return model_.cursor_y() + 1; }
  void gotoxy(int x, int y) override;
  void flush() override { paint(); }
  // The screen a moment of play keeps, and shows again after Back or when continuing.
  std::optional<ScreenImage> screen_image() override { return model_.image(); }
  void show_screen_image(const ScreenImage& image) override;
  // While a menu waits, xterm.js reports clicks, taps and the wheel as a terminal would; they
  // come back as the keys that stand for them.
  void menu_entries(int first_row, int count, int highlighted) override;

 private:
  void before_scroll(const ScreenModel& model) override;
  // Sends the page what changed on the screen since the last paint.
  void paint();
  // Tells the page the captions of the waiting menu, read from its rows.
  void offer_options();
  // Tells the page the text of the screen above the menu (all of it when none waits) from the
  // first row that changed since it was told last.
  void announce_page();
  std::vector<std::string> page_rows() const;
  // The next typed key with whether it came as an escape sequence; nullopt when none waits.
  std::optional<DecodedKey> take_key();
  std::optional<DecodedKey> wait_key();

  PageLink& page_;
  ScreenModel model_;
  TerminalPainter painter_;
  KeyDecoderOptions decoding_;
  std::string typed_;                      // bytes from the page not decoded yet
  std::string out_;                        // bytes for the page not sent yet
  std::vector<std::string> typed_lines_;   // for Up and Down in the line editor
  MenuEntries entries_;                    // as the menu last told them
  std::deque<std::uint8_t> clicked_keys_;  // the keys of a click not yet taken
  bool mouse_reported_ = false;            // xterm.js reports the mouse
  bool accessible_;
  std::optional<int> reading_row_;           // where the cursor stands while a menu waits
  std::vector<std::string> announced_rows_;  // the screen's rows as last announced
  std::uint8_t attr_ = 7;
  EditedLine edited_;
};

}  // namespace tindel
