#pragma once
// A console that shows nothing and never has a key: a check run needs one, and must neither
// write to the terminal nor wait.
#include "UTypes/console/console.h"

namespace tindel::author {

class SilentConsole : public Console {
 public:
  std::uint8_t readkey() override { return key::kNone; }
  std::uint8_t pollbreak() override { return key::kNone; }
  std::uint8_t waitkey() override { return key::kNone; }
  std::optional<std::string> readline() override { return std::nullopt; }
  void menutick() override {}
  void discard_pending() override {}
  void set_title(std::string_view) override {}
  void showcursor(bool) override {}
  void clrscr(std::uint8_t) override {}
  void conwrite(std::string_view, std::uint8_t) override {}
  int wherey() override { return 1; }
  void gotoxy(int, int) override {}
  void flush() override {}
};

}  // namespace tindel::author
