#include "UTypes/console/terminal/transcript_console.h"

namespace tindel {

TranscriptConsole::TranscriptConsole(std::unique_ptr<Console> play, int out_fd,
                                     const Charset& charset)
    : play_(std::move(play)), transcript_(out_fd, charset) {}

TranscriptConsole::~TranscriptConsole() {
  transcript_.flush();
  play_.reset();  // the terminal is given back before the transcript's last line goes
}

std::uint8_t TranscriptConsole::readkey() {
  std::uint8_t key = play_->readkey();
  if (key != key::kNone) transcript_.settle();
  return key;
}

std::uint8_t TranscriptConsole::waitkey() {
  transcript_.settle();
  return play_->waitkey();
}

std::optional<std::string> TranscriptConsole::readline() {
  transcript_.settle();
  std::optional<std::string> line = play_->readline();
  if (line) transcript_.echo_line(*line);
  return line;
}

void TranscriptConsole::clrscr(std::uint8_t attr) {
  play_->clrscr(attr);
  transcript_.clrscr(attr);
}

void TranscriptConsole::conwrite(std::string_view bytes, std::uint8_t attr) {
  play_->conwrite(bytes, attr);
  transcript_.conwrite(bytes, attr);
}

void TranscriptConsole::conwrite_highlighted(std::string_view bytes, std::uint8_t attr) {
  play_->conwrite_highlighted(bytes, attr);
  transcript_.conwrite(bytes, attr);
}

// A terminal of another height than the transcript's 25 rows has its cursor on another row:
// the move is made relative to the cursor, as the menu means it.
void TranscriptConsole::gotoxy(int x, int y) {
  int rows_down = y - play_->wherey();
  play_->gotoxy(x, y);
  transcript_.gotoxy(x, transcript_.wherey() + rows_down);
}

void TranscriptConsole::flush() {
  play_->flush();
  transcript_.flush();
}

}  // namespace tindel
