// The page's console: keys as the page hands them over (xterm's bytes, UTF-8 text), the waits
// that give the browser its thread, and the line typed for `input`.
#include "UTypes/console/web/web_console.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "UTypes/charset/cp866.h"

namespace tindel {
namespace {

// A page whose player has typed the next chunk each time the console asks (an empty chunk:
// nothing yet).
class FakePage : public PageLink {
 public:
  std::deque<std::string> chunks;
  std::string shown;
  std::string title;
  std::vector<int> waits;   // each wait's timeout
  std::vector<int> pauses;  // each pause's length
  std::vector<std::string> announced;
  std::vector<std::string> captions;
  int highlighted = -1;
  std::vector<bool> lines_wanted;

  void show(std::string_view bytes) override { shown += bytes; }
  void set_title(std::string_view utf8_title) override { title = utf8_title; }
  void take_typed(std::string& to, int timeout_ms) override {
    if (timeout_ms != 0) waits.push_back(timeout_ms);
    if (chunks.empty()) {
      ADD_FAILURE() << "the console waited with nothing left to type";
      to += "\r";
      return;
    }
    to += chunks.front();
    chunks.pop_front();
  }
  void line_wanted(bool wanted) override { lines_wanted.push_back(wanted); }
  void pause(int ms) override { pauses.push_back(ms); }
  void announce(std::string_view text) override { announced.emplace_back(text); }
  void menu_options(const std::vector<std::string>& utf8_captions, int chosen) override {
    captions = utf8_captions;
    highlighted = chosen;
  }
};

// A page of text and a list of two entries below it, as the menu draws them in the
// accessible mode, the cursor back above the list.
void draw_page_and_list(WebConsole& console, int highlighted) {
  console.gotoxy(1, 1);
  console.conwrite(utf8_to_cp866("МАЯК\r\nThe lamp is dark.\r\n"), 7);
  console.conwrite(highlighted == 0 ? "> 1. Climb\r\n  2. Wait" : "  1. Climb\r\n> 2. Wait", 7);
  console.gotoxy(1, 2);
  console.menu_entries(3, 2, highlighted);
}

TEST(WebConsole, KeysArriveAsATerminalSendsThemAndEachWaitBlocksUntilSome) {
  FakePage page;
  page.chunks = {"\x1b[B", "\x1b", "Ж\r", "\x1bOP"};
  WebConsole console(page);
  EXPECT_EQ(console.waitkey(), key::kDown);
  EXPECT_EQ(console.waitkey(), key::kEscape);  // a lone Escape is not held for a sequence
  EXPECT_EQ(console.waitkey(), static_cast<std::uint8_t>(utf8_to_cp866("Ж")[0]));
  EXPECT_EQ(console.pollbreak(), key::kEnter);  // typed ahead, seen without asking the page
  EXPECT_EQ(console.waitkey(), key::kF1);
  EXPECT_EQ(page.waits, std::vector<int>({-1, -1, -1, -1}));
}

TEST(WebConsole, PollingAndTheMenuTickNeverWaitForKeys) {
  FakePage page;
  page.chunks = {"", "i"};
  WebConsole console(page);
  EXPECT_EQ(console.pollbreak(), key::kNone);
  EXPECT_EQ(console.readkey(), key::kNone);
  console.menutick();
  EXPECT_EQ(console.readkey(), 'i');
  EXPECT_TRUE(page.waits.empty());
  EXPECT_EQ(page.pauses, std::vector<int>({55}));
}

TEST(WebConsole, ALineIsEditedOnTheScreenReturnedInCp866AndNotReadBack) {
  FakePage page;
  page.chunks = {"Ма", "ш\x7f", "рия", "\r"};
  WebConsole console(page);
  console.conwrite(utf8_to_cp866("Имя? "), 7);
  std::optional<std::string> line = console.readline();
  ASSERT_TRUE(line);
  EXPECT_EQ(*line, utf8_to_cp866("Мария"));
  EXPECT_EQ(console.wherey(), 2);  // the line end is written after the line
  EXPECT_NE(page.shown.find("Имя? "), std::string::npos);
  EXPECT_NE(page.shown.find("рия"), std::string::npos);
  EXPECT_EQ(page.waits.size(), 4u);
  EXPECT_EQ(page.lines_wanted, (std::vector<bool>{true, false}));  // the phone's keyboard
  // The player typed the line: what is said next is only what came after it.
  console.conwrite(utf8_to_cp866("Привет, Мария."), 7);
  page.chunks = {"x"};
  console.waitkey();
  EXPECT_EQ(page.announced.back(), "Привет, Мария.");
}

TEST(WebConsole, WhileAMenuWaitsAClickComesBackAsTheKeysThatChooseItsEntry) {
  FakePage page;
  // A press and its release on row 11 (the second entry), then the wheel down.
  page.chunks = {"\x1b[<0;5;11M\x1b[<0;5;11m", "\x1b[<65;5;10M"};
  WebConsole console(page);
  console.menu_entries(10, 2, 0);
  console.flush();
  EXPECT_NE(page.shown.find(kMouseReportsOn), std::string::npos);
  EXPECT_EQ(console.waitkey(), key::kDown);
  EXPECT_EQ(console.waitkey(), key::kEnter);
  EXPECT_EQ(console.waitkey(), key::kDown);
  console.menu_entries(0, 0, 0);
  console.flush();
  EXPECT_NE(page.shown.find(kMouseReportsOff), std::string::npos);
}

TEST(WebConsole, AScreenReaderHearsEachPageOnceAndTheCursorFollowsTheHighlight) {
  FakePage page;
  WebConsole console(page, /*accessible=*/true);
  console.clrscr(7);
  draw_page_and_list(console, 0);
  console.flush();
  EXPECT_EQ(page.announced, std::vector<std::string>({"МАЯК\nThe lamp is dark."}));
  EXPECT_EQ(page.captions, std::vector<std::string>({"1. Climb", "2. Wait"}));
  EXPECT_EQ(page.highlighted, 0);
  EXPECT_TRUE(page.shown.ends_with("\x1b[3;1H")) << page.shown;

  page.shown.clear();
  draw_page_and_list(console, 1);  // Down: the same page, nothing said again
  console.flush();
  EXPECT_EQ(page.announced.size(), 1u);
  EXPECT_EQ(page.highlighted, 1);
  EXPECT_TRUE(page.shown.ends_with("\x1b[4;1H")) << page.shown;

  console.menu_entries(2, 0, 0);  // chosen: the list no longer waits, and is blanked
  EXPECT_TRUE(page.captions.empty());
  console.gotoxy(1, 3);
  console.conwrite(std::string(10, ' ') + "\r\n" + std::string(10, ' '), 7);
  console.gotoxy(1, 3);
  console.conwrite("You climb.", 7);
  page.chunks = {"x"};
  console.waitkey();  // only the new row is said
  EXPECT_EQ(page.announced.back(), "You climb.");
  console.clrscr(7);
  draw_page_and_list(console, 0);  // the same page again after a clear is said again
  EXPECT_EQ(page.announced.back(), "МАЯК\nThe lamp is dark.");
}

TEST(WebConsole, TheScreenReachesThePageOnlyWhenItWaitsOrFlushes) {
  FakePage page;
  WebConsole console(page);
  console.set_title(utf8_to_cp866("Маяк"));
  console.clrscr(7);
  page.shown.clear();
  console.conwrite("THE SHORE\r\n", 15);
  EXPECT_EQ(page.shown, "");
  console.flush();
  EXPECT_NE(page.shown.find("THE SHORE"), std::string::npos);
  EXPECT_EQ(page.title, "Маяк");
}

}  // namespace
}  // namespace tindel
