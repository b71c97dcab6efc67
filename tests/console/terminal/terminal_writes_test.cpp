// What the terminal front end sends while a quest is played, write by write: its output goes
// into a packet socket, where every write() arrives as a packet of its own, so both the
// bytes and the number of writes can be told.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "UTypes/console/terminal/terminal_console.h"
#include "program/startup.h"
#include "support/quest_harness.h"

namespace tindel::testing {
namespace {

// The keys come from a pseudo-terminal; the writes go to the packet socket.
class PlayedTerminal {
 public:
  PlayedTerminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_EQ(::grantpt(master_), 0);
    EXPECT_EQ(::unlockpt(master_), 0);
    keys_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, screen_), 0);
  }
  ~PlayedTerminal() {
    for (int fd : {keys_, master_, screen_[0], screen_[1]})
      if (fd >= 0) ::close(fd);
  }
  int keys() const { return keys_; }
  // The terminal goes away: the game ends on the input's end if it has not ended yet.
  void hang_up() {
    ::close(master_);
    master_ = -1;
  }
  int screen() const { return screen_[0]; }

  void type(const std::string& bytes) const {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // The writes that arrive until the program has been quiet for a while (a menu idles).
  std::vector<std::string> writes() const {
    std::vector<std::string> packets;
    pollfd p{screen_[1], POLLIN, 0};
    while (::poll(&p, 1, 400) > 0) {
      std::string packet(65536, '\0');
      ssize_t n = ::recv(screen_[1], packet.data(), packet.size(), 0);
      if (n <= 0) break;
      packet.resize(static_cast<std::size_t>(n));
      packets.push_back(packet);
    }
    return packets;
  }

 private:
  int master_ = -1;
  int keys_ = -1;
  int screen_[2] = {-1, -1};
};

// A menu of five; its first button leads to a page of `lines` lines, after a clear or not
// (then the page scrolls the menu away).
std::string page_quest(bool clear, int lines) {
  std::string quest = ":start\npln Start of the story\nbtn page, Read on\n";
  for (int i = 1; i <= 4; ++i)
    quest += "btn start, Stay " + std::to_string(i) + "\n";
  quest += clear ? "end\n:page\ncls\n" : "end\n:page\n";
  for (int i = 0; i < lines; ++i)
    quest +=
        "pln Line " + std::to_string(10 + i) + " of the page, some words of prose to fill it.\n";
  return quest + "btn start, Back\nend\n:common\nend\n";
}

struct Played {
  std::vector<std::string> first, down, up, page;
};

// Down and Up over the menu, then Enter on the first button; Escape and Enter end the game.
Played play_page(const std::string& quest) {
  TempDir dir;
  dir.write("page.qst", quest);
  PlayedTerminal terminal;
  Played played;
  std::thread player([&terminal, &played] {
    played.first = terminal.writes();
    terminal.type("\x1b[B");
    played.down = terminal.writes();
    terminal.type("\x1b[A");
    played.up = terminal.writes();
    terminal.type("\r");
    played.page = terminal.writes();
    terminal.type("\x1b");
    terminal.writes();
    terminal.type("\r");
    terminal.writes();
    terminal.hang_up();
  });
  {
    InterpreterState state;
    TerminalConsole console(terminal.keys(), terminal.screen(), Charset(CharsetKind::kUtf8), {});
    RecordingMedia media;
    run_program(state, {"0", "w", "page.qst"}, {console, media, 1u});
  }
  player.join();
  return played;
}

TEST(TerminalWrites, AFullPageAfterAChoiceIsOneShortWriteAndAMoveInTheMenuAFewBytes) {
  Played played = play_page(page_quest(true, 20));

  ASSERT_EQ(played.down.size(), 1u);
  EXPECT_LE(played.down[0].size(), 71u) << played.down[0];
  ASSERT_EQ(played.up.size(), 1u);
  EXPECT_LE(played.up[0].size(), 71u) << played.up[0];
  ASSERT_EQ(played.page.size(), 1u) << "the page came in " << played.page.size() << " writes";
  const std::string& page = played.page[0];
  EXPECT_LE(page.size(), 1600u) << page;
  EXPECT_NE(page.find("\x1b[2J"), std::string::npos) << page;
  EXPECT_NE(page.find("Line 29 of the page"), std::string::npos) << page;
  EXPECT_EQ(page.find("fill it.   "), std::string::npos) << "blanks after a line: " << page;
}

// A page below the menu, without a clear: its lines scroll the screen, and still the page
// goes out in one write.
TEST(TerminalWrites, APageThatScrollsIsOneWrite) {
  Played played = play_page(page_quest(false, 20));
  ASSERT_EQ(played.page.size(), 1u) << "the page came in " << played.page.size() << " writes";
  EXPECT_NE(played.page[0].find("Line 29 of the page"), std::string::npos) << played.page[0];
  EXPECT_LE(played.page[0].size(), 2600u) << played.page[0];
}

}  // namespace
}  // namespace tindel::testing
