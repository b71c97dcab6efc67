#pragma once
// A console that keeps a plain transcript of the game beside the one the player uses: every
// write goes to both, and the transcript's lines go out as the stream front end prints them
// (each line once, when it is final). For `tindel ... > file` with a terminal for the play,
// and for TINDEL_TRANSCRIPT.
#include <memory>

#include "UTypes/console/console.h"
#include "UTypes/console/stream/plain_screen.h"

namespace tindel {

class TranscriptConsole : public Console {
 public:
  // The transcript goes to out_fd (which stays the caller's) in charset.
  TranscriptConsole(std::unique_ptr<Console> play, int out_fd, const Charset& charset);
  ~TranscriptConsole() override;

  std::uint8_t readkey() override;
  std::uint8_t pollbreak() override { return play_->pollbreak(); }
  std::uint8_t waitkey() override;
  std::optional<std::string> readline() override;
  void menutick() override { play_->menutick(); }
  void discard_pending() override { play_->discard_pending(); }

  void set_title(std::string_view title) override { play_->set_title(title); }
  void showcursor(bool visible) override { play_->showcursor(visible); }
  void clrscr(std::uint8_t attr) override;
  void conwrite(std::string_view bytes, std::uint8_t attr) override;
  int wherey() override { return play_->wherey(); }
  void gotoxy(int x, int y) override;
  void flush() override;
  void menu_entries(int first_row, int count, int highlighted) override {
    play_->menu_entries(first_row, count, highlighted);
  }
  // The player's console marks the menu (a dumb terminal); the transcript shows the same.
  std::string_view menu_mark(bool highlighted) const override {
    return play_->menu_mark(highlighted);
  }

 private:
  std::unique_ptr<Console> play_;
  PlainScreen transcript_;
};

}  // namespace tindel
