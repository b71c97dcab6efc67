#pragma once
// A console for tests: keys and lines come from a script, the screen is a model that the
// test reads back, and time is counted instead of slept.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "UTypes/console/console.h"
#include "UTypes/console/menu_clicks.h"
#include "UTypes/console/screen_model.h"

namespace tindel {

class ScriptedConsole : public Console, private ScreenModel::ScrollListener {
 public:
  explicit ScriptedConsole(int width = 80, int height = 25);

  // Input script.
  void add_keys(std::initializer_list<std::uint8_t> keys) { keys_.insert(keys_.end(), keys); }
  void add_key(std::uint8_t key) { keys_.push_back(key); }
  void add_line(std::string line) { lines_.push_back(std::move(line)); }
  void add_break_key(std::uint8_t key) { break_keys_.push_back(key); }
  std::size_t keys_left() const { return keys_.size(); }
  // Ends the run ("time ran out") at the tick after `ticks`: a harness that plays strangers'
  // quests bounds a long pause or a timed menu with it, as it bounds statements.
  void limit_ticks(std::int64_t ticks) { tick_limit_ = ticks; }

  // What the player would have read: rows scrolled off, then the rows of the screen up to
  // the last one written, each without trailing blanks.
  std::string transcript() const;
  const ScreenModel& screen() const { return model_; }
  std::int64_t ticks() const { return ticks_; }
  const std::string& title() const { return title_; }
  bool cursor_visible() const { return cursor_visible_; }
  // What the menu told of its entries, call by call.
  const std::vector<MenuEntries>& menu_entries_told() const { return menu_entries_; }

  std::uint8_t readkey() override;
  std::uint8_t pollbreak() override;
  std::uint8_t waitkey() override;
  std::optional<std::string> readline() override;
  void menutick() override;
  void discard_pending() override {}

  void set_title(std::string_view title) override { title_ = title; }
  void showcursor(bool visible) override { cursor_visible_ = visible; }
  void clrscr(std::uint8_t attr) override;
  void conwrite(std::string_view bytes, std::uint8_t attr) override { model_.write(bytes, attr); }
  int wherey() override { return model_.cursor_y() + 1; }
  void gotoxy(int x, int y) override { model_.move_cursor(x - 1, y - 1); }
  void flush() override {}
  std::optional<ScreenImage> screen_image() override { return model_.image(); }
  void show_screen_image(const ScreenImage& image) override { model_.show_image(image); }
  void menu_entries(int first_row, int count, int highlighted) override {
    menu_entries_.push_back({first_row, count, highlighted});
  }

 private:
  void before_scroll(const ScreenModel& model) override;

  ScreenModel model_;
  std::deque<std::uint8_t> keys_;
  std::deque<std::uint8_t> break_keys_;
  std::deque<std::string> lines_;
  std::vector<std::string> scrolled_;
  std::vector<MenuEntries> menu_entries_;
  std::string title_;
  bool cursor_visible_ = false;
  std::int64_t ticks_ = 0;
  std::int64_t tick_limit_ = INT64_MAX;
};

}  // namespace tindel
