#pragma once
// The console for pipes, files and CI (standard input or output is not a terminal): keys
// and lines come from the input bytes, and the output is the plain text a person would have
// read on the screen, each screen line once, in order, without escape sequences.
#include <cstdint>
#include <string>

#include "UTypes/console/console.h"
#include "UTypes/console/key_reader.h"
#include "UTypes/console/screen_model.h"

namespace tindel {

class StreamConsole : public Console, private ScreenModel::ScrollListener {
 public:
  // utf8: the output is UTF-8 and so is the input; otherwise both are CP866 bytes.
  StreamConsole(int in_fd, int out_fd, bool utf8);
  ~StreamConsole() override;
  StreamConsole(const StreamConsole&) = delete;
  StreamConsole& operator=(const StreamConsole&) = delete;

  std::uint8_t readkey() override;
  std::uint8_t pollbreak() override { return key::kNone; }
  std::uint8_t waitkey() override;
  std::optional<std::string> readline() override;
  void menutick() override;
  // Keys in a stream were put there on purpose (a script): nothing is dropped.
  void discard_pending() override {}

  void set_title(std::string_view) override {}
  void showcursor(bool) override {}
  void clrscr(std::uint8_t attr) override;
  void conwrite(std::string_view bytes, std::uint8_t attr) override;
  int wherey() override { return model_.cursor_y() + 1; }
  void gotoxy(int x, int y) override { model_.move_cursor(x - 1, y - 1); }
  void flush() override;

  // For a walkthrough, at the end of each step: shows the rows that are final (above the
  // cursor), as a wait for the player does; and the rows written below them, which the
  // program may still write over (a menu's entries), as they read now, without showing them.
  void show_settled_rows() { emit_rows_above_cursor(); }
  std::string unsettled_rows() const;

 private:
  void before_scroll(const ScreenModel& model) override;
  // Rows above the cursor are final once the program waits for the player.
  void emit_rows_above_cursor();
  // Everything written: up to the last non-blank row or the row above the cursor.
  void emit_rows_written();
  // Rows from the first not yet emitted through row last.
  void emit_rows_through(int last);
  void write_out(const std::string& text);

  ScreenModel model_;
  KeyReader reader_;
  int out_fd_;
  bool utf8_;
  int emitted_ = 0;  // rows 0 .. emitted_-1 have gone out
  std::uint8_t attr_ = 7;
};

}  // namespace tindel
