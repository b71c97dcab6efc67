#pragma once
// The console of a walkthrough: the screen is the stream front end's plain screen, writing the
// text a person would read into a file, shown live (a menu's list goes out when the program
// waits; a row written over goes out again); keys come from the test's steps. Whenever the quest
// asks for a key and the step's keys are used up, the step is over: the next one begins.
#include <cstdio>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "UTypes/console/console.h"
#include "UTypes/console/stream/plain_screen.h"

namespace tindel::author {

class WalkConsole : public Console {
 public:
  // step_over(output) is told what the finished step printed, and answers the keys of the
  // next step (false when none is left: the walk ends).
  struct NextKeys {
    std::string keys;
    std::optional<std::string> line;
  };
  using StepOver = std::function<bool(const std::string& output, NextKeys& next)>;

  explicit WalkConsole(StepOver step_over);
  ~WalkConsole() override;
  WalkConsole(const WalkConsole&) = delete;
  WalkConsole& operator=(const WalkConsole&) = delete;

  // What was printed since the last step ended, with the row the cursor stands on (a prompt
  // that waits for the player); at the end of the walk, everything written.
  std::string take_output(bool at_end = false);
  // Adds text the quest did not print on its screen (an error report).
  void note(const std::string& text) { notes_ += text; }

  std::uint8_t readkey() override;
  std::uint8_t pollbreak() override { return key::kNone; }
  std::uint8_t waitkey() override { return readkey(); }
  std::optional<std::string> readline() override;
  void menutick() override {}
  void discard_pending() override {}
  void set_title(std::string_view) override {}
  void showcursor(bool) override {}
  void clrscr(std::uint8_t attr) override { screen_->clrscr(attr); }
  void conwrite(std::string_view bytes, std::uint8_t attr) override {
    screen_->conwrite(bytes, attr);
  }
  int wherey() override { return screen_->wherey(); }
  void gotoxy(int x, int y) override { screen_->gotoxy(x, y); }
  void flush() override { screen_->flush(); }

 private:
  bool next_step();  // false when the walk is over

  StepOver step_over_;
  std::FILE* output_file_ = nullptr;
  std::optional<PlainScreen> screen_;
  long read_to_ = 0;
  std::string notes_;
  std::string prompt_;  // the unfinished row given with the last step
  std::deque<std::uint8_t> keys_;
  std::optional<std::string> line_;
};

}  // namespace tindel::author
