#pragma once
// What the stream front end and the dumb terminal share: the screen goes out as plain lines
// (PlainScreen), and keys come from one input through a KeyReader.
#include <cstdint>
#include <optional>

#include "UTypes/charset/locale_charset.h"
#include "UTypes/console/console.h"
#include "UTypes/console/key_reader.h"
#include "UTypes/console/stream/plain_screen.h"

namespace tindel {

class PlainConsole : public Console {
 public:
  std::uint8_t readkey() override;
  std::uint8_t waitkey() override;
  void menutick() override;

  void set_title(std::string_view) override {}
  void showcursor(bool) override {}
  void clrscr(std::uint8_t attr) override { screen_.clrscr(attr); }
  void conwrite(std::string_view bytes, std::uint8_t attr) override {
    screen_.conwrite(bytes, attr);
  }
  int wherey() override { return screen_.wherey(); }
  void gotoxy(int x, int y) override { screen_.gotoxy(x, y); }
  void flush() override { screen_.flush(); }

 protected:
  PlainConsole(int in_fd, int out_fd, const Charset& charset, bool collapse_crlf);
  // A typed line, converted to CP866 and shown where it was typed.
  std::string take_typed_line(const std::string& line);

  PlainScreen screen_;
  KeyReader reader_;
  Charset charset_;
};

}  // namespace tindel
