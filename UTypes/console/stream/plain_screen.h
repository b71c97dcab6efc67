#pragma once
// The screen as plain text: a screen model whose rows go out to a file, each once and in
// order, when they are final: when they scroll off the top, when the program waits for the
// player (the rows above the cursor), and at the end (every row written). The stream front
// end prints this way, and so does a transcript kept beside a terminal.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "UTypes/charset/locale_charset.h"
#include "UTypes/console/screen_model.h"

namespace tindel {

class PlainScreen : private ScreenModel::ScrollListener {
 public:
  PlainScreen(int out_fd, const Charset& charset);
  ~PlainScreen() override { flush(); }
  PlainScreen(const PlainScreen&) = delete;
  PlainScreen& operator=(const PlainScreen&) = delete;

  // For a terminal that the player watches line by line (TERM=dumb): when the program waits,
  // the rows below the cursor that hold text go out too (a menu's list), and a row that has
  // changed since it went out (the inventory listed where the list was) goes out again, with
  // every row after it.
  void show_live();

  void clrscr(std::uint8_t attr);
  void conwrite(std::string_view bytes, std::uint8_t attr);
  int wherey() const { return model_.cursor_y() + 1; }
  void gotoxy(int x, int y) { model_.move_cursor(x - 1, y - 1); }
  // The program waits for the player: the rows above the cursor are final.
  void settle();
  // A line the player typed, shown where it was typed.
  void echo_line(const std::string& cp866);
  // On a terminal that echoes what is typed: the rows above the cursor and the start of the
  // cursor's row (the prompt) go out now, without a line end; once the line is typed, that
  // row is on the screen already and does not go out again.
  void begin_echoed_line();
  void end_echoed_line(const std::string& cp866);
  // Everything written: up to the last non-blank row or the row above the cursor.
  void flush();
  // The cursor's row up to the cursor, as it shows now (a prompt not yet ended).
  std::string cursor_row() const;
  // Rows that went out wait in a buffer, so that a long run of output (a check's warnings,
  // text scrolling by) costs a write per 64 KB rather than per row; they are sent whenever
  // the program waits or polls for the player (settle, flush and the echoed line send too).
  void send();

 private:
  void before_scroll(const ScreenModel& model) override;
  // Live: the first row that went out and has changed since; emitted_ goes back to it.
  void rewind_to_changed_row();
  // Rows from the first not yet emitted through row last.
  void emit_rows_through(int last);
  void write_out(const std::string& text);

  ScreenModel model_;
  int out_fd_;
  Charset charset_;
  int emitted_ = 0;  // rows 0 .. emitted_-1 have gone out
  bool live_ = false;
  std::vector<std::string> shown_;  // live: the text of each row as it went out
  std::uint8_t attr_ = 7;
  static constexpr std::size_t kSendAt = 64 * 1024;
  std::string pending_;  // rows gone out but not yet written
};

}  // namespace tindel
