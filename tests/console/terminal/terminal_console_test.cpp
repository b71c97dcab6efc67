#include "UTypes/console/terminal/terminal_console.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

namespace tindel {
namespace {

// A pseudo-terminal: the console gets the terminal side, the test plays the terminal
// emulator on the other.
class Pty {
 public:
  Pty(int columns, int rows) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(master_, 0);
    EXPECT_EQ(::grantpt(master_), 0);
    EXPECT_EQ(::unlockpt(master_), 0);
    terminal_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
    EXPECT_GE(terminal_, 0);
    resize(columns, rows);
  }
  ~Pty() {
    ::close(terminal_);
    ::close(master_);
  }

  int terminal() const { return terminal_; }
  void resize(int columns, int rows) {
    winsize ws{};
    ws.ws_col = static_cast<unsigned short>(columns);
    ws.ws_row = static_cast<unsigned short>(rows);
    ::ioctl(terminal_, TIOCSWINSZ, &ws);
  }
  void type(const std::string& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // What the console sent, once it has been quiet for a moment.
  std::string sent() {
    std::string text;
    pollfd p{master_, POLLIN, 0};
    while (::poll(&p, 1, 60) > 0) {
      char buffer[4096];
      ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
  }
  termios settings() const {
    termios t{};
    ::tcgetattr(terminal_, &t);
    return t;
  }

 private:
  int master_ = -1;
  int terminal_ = -1;
};

bool same_settings(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::equal(a.c_cc, a.c_cc + NCCS, b.c_cc);
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(TerminalConsole, RawWhileRunningAndGivenBackAfter) {
  Pty pty(80, 25);
  const termios before = pty.settings();
  {
    TerminalConsole console(pty.terminal(), pty.terminal(), Charset(CharsetKind::kUtf8), false);
    const termios raw = pty.settings();
    EXPECT_FALSE(raw.c_lflag & ICANON);
    EXPECT_FALSE(raw.c_lflag & ECHO);
    EXPECT_FALSE(raw.c_lflag & IEXTEN);
    EXPECT_TRUE(raw.c_lflag & ISIG);  // Ctrl+C still ends the program
    EXPECT_FALSE(raw.c_iflag & (IXON | ICRNL));
    console.set_title("Tindel");
    console.showcursor(false);
    std::string start = pty.sent();
    EXPECT_TRUE(contains(start, "\x1b[22;0t")) << "title pushed";
    EXPECT_TRUE(contains(start, "\x1b]0;Tindel\x07"));
    EXPECT_TRUE(contains(start, "\x1b[?25l"));
  }
  EXPECT_TRUE(same_settings(pty.settings(), before));
  std::string end = pty.sent();
  EXPECT_TRUE(contains(end, "\x1b[23;0t")) << "title popped";
  EXPECT_TRUE(contains(end, "\x1b[?25h")) << "cursor shown";
  EXPECT_TRUE(contains(end, "\x1b[0m")) << "colours reset";
}

TEST(TerminalConsole, ModelIsSizedLikeTheTerminal) {
  Pty pty(40, 10);
  TerminalConsole console(pty.terminal(), pty.terminal(), Charset(CharsetKind::kUtf8), false);
  console.gotoxy(40, 10);
  EXPECT_EQ(console.wherey(), 10);
  console.gotoxy(41, 3);
  console.gotoxy(1, 11);
  EXPECT_EQ(console.wherey(), 10);
  console.conwrite(std::string(40, 'x'), 7);  // the bottom row full: one scroll
  EXPECT_EQ(console.wherey(), 10);
}

TEST(TerminalConsole, AnUnchangedScreenSendsNothing) {
  Pty pty(80, 25);
  TerminalConsole console(pty.terminal(), pty.terminal(), Charset(CharsetKind::kUtf8), false);
  console.clrscr(7);
  console.conwrite("\x8F\xE0\xA8\xA2\xA5\xE2 hello\r\n", 7);
  console.menutick();
  std::string first = pty.sent();
  EXPECT_TRUE(contains(first, "Привет hello"));
  EXPECT_TRUE(contains(first, "\x1b[2J"));
  for (int pass = 0; pass < 4; ++pass) {
    console.conwrite("\r\nGo on", 126);
    console.gotoxy(1, console.wherey() - 1);
    console.menutick();
    std::string sent = pty.sent();
    if (pass == 0) {
      EXPECT_TRUE(contains(sent, "\x1b[0;93;47mGo on"));
    } else {
      EXPECT_EQ(sent, "") << "pass " << pass;
    }
  }
}

TEST(TerminalConsole, KeysFromTheTerminal) {
  Pty pty(80, 25);
  TerminalConsole console(pty.terminal(), pty.terminal(), Charset(CharsetKind::kUtf8), false);
  EXPECT_EQ(console.readkey(), 0);
  pty.type("\x1b[A\x1bOB\x1b[15~\r\x7f\xD0\x81");
  std::vector<int> keys;
  for (int i = 0; i < 6; ++i)
    keys.push_back(console.waitkey());
  EXPECT_EQ(keys, (std::vector<int>{72, 80, 116, 13, 8, 0xF0}));
  pty.type("\x1b");
  EXPECT_EQ(console.waitkey(), 27);  // a lone Escape, decided after the short timeout
  pty.type("z");
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(console.readkey(), 'z');
}

// The mouse is reported while a menu waits and turned off when it stops and at the end;
// clicks and the wheel come in as keys, a click's keys before what was typed after it.
TEST(TerminalConsole, TheMouseWhileAMenuWaits) {
  const std::string on = "\x1b[?1000h\x1b[?1006h";
  const std::string off = "\x1b[?1006l\x1b[?1000l";
  Pty pty(80, 25);
  {
    TerminalConsole console(pty.terminal(), pty.terminal(), Charset(CharsetKind::kUtf8), false);
    console.menutick();
    EXPECT_FALSE(contains(pty.sent(), on)) << "no menu, no mouse";
    console.menu_entries(10, 3, 0);
    console.menu_entries(10, 3, 1);
    EXPECT_EQ(console.readkey(), 0);
    const std::string sent = pty.sent();
    EXPECT_TRUE(contains(sent, on));
    EXPECT_EQ(sent.find(on), sent.rfind(on)) << "turned on once";
    pty.type("\x1b[<0;5;10M\x1b[<0;5;10mx\x1b[<65;1;1M\x1b[<0;5;20M");
    std::vector<int> keys;
    for (int i = 0; i < 4; ++i)
      keys.push_back(console.waitkey());
    EXPECT_EQ(keys, (std::vector<int>{72, 13, 'x', 80})) << "the click on the first entry";
    console.menu_entries(10, 0, 0);
    console.menutick();
    EXPECT_TRUE(contains(pty.sent(), off));
    console.menu_entries(10, 3, 0);
    console.menutick();
    EXPECT_TRUE(contains(pty.sent(), on)) << "on again for the next menu";
  }
  EXPECT_TRUE(contains(pty.sent(), off)) << "off when the terminal is given back";
}

// A click's keys that the menu has not taken when it stops waiting are dropped.
TEST(TerminalConsole, AClickIsForgottenWhenItsMenuStopsWaiting) {
  Pty pty(80, 25);
  TerminalConsole console(pty.terminal(), pty.terminal(), Charset(CharsetKind::kUtf8), false);
  console.menu_entries(5, 4, 0);
  pty.type("\x1b[<0;1;8M");
  EXPECT_EQ(console.waitkey(), 80);
  console.menu_entries(5, 0, 0);  // a timed menu ran out
  pty.type("q");
  EXPECT_EQ(console.waitkey(), 'q');
}

TEST(TerminalConsole, ReadlineIsEditedInRawMode) {
  Pty pty(80, 25);
  TerminalConsole console(pty.terminal(), pty.terminal(), Charset(CharsetKind::kUtf8), false);
  console.conwrite("Name? ", 7);
  std::thread player([&pty] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    pty.type("\xD0\x92\xD0\xB0\xD1\x81\xD1\x8F\r");  // "Вася" and Enter
  });
  std::optional<std::string> line = console.readline();
  player.join();
  EXPECT_EQ(line, std::optional<std::string>("\x82\xA0\xE1\xEF"));
  EXPECT_EQ(console.wherey(), 2);
  EXPECT_FALSE(pty.settings().c_lflag & ICANON);
  std::string sent = pty.sent();
  EXPECT_TRUE(contains(sent, "Вася")) << "drawn by the program, the terminal echoes nothing";
}

TEST(TerminalConsole, ResizeWakesTheWaitAndResizesTheModel) {
  Pty pty(80, 25);
  TerminalConsole console(pty.terminal(), pty.terminal(), Charset(CharsetKind::kUtf8), false);
  pty.resize(30, 6);
  pthread_t waiting = ::pthread_self();
  std::thread window([waiting] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::pthread_kill(waiting, SIGWINCH);
  });
  EXPECT_EQ(console.waitkey(), 0);  // woken so that the caller draws again
  window.join();
  console.gotoxy(1, 6);
  EXPECT_EQ(console.wherey(), 6);
  console.gotoxy(1, 7);
  EXPECT_EQ(console.wherey(), 6);
}

// The scanner polls for Escape at every line end; that is when a running script's text is
// painted, without waiting for the next key.
TEST(TerminalConsole, TextWrittenWhileTheScriptRunsIsPaintedSoon) {
  Pty pty(80, 25);
  TerminalConsole console(pty.terminal(), pty.terminal(), Charset(CharsetKind::kUtf8), false);
  console.conwrite("working hard", 7);
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
  while (std::chrono::steady_clock::now() < until)
    console.pollbreak();
  EXPECT_TRUE(contains(pty.sent(), "working hard"));
}

// Typed keys arrive in two parts with a resize between them; the line keeps the first part.
TEST(TerminalConsole, TheEditedLineSurvivesAResizeAndRecallsEarlierLines) {
  Pty pty(80, 25);
  TerminalConsole console(pty.terminal(), pty.terminal(), Charset(CharsetKind::kUtf8), false);
  pthread_t reading = ::pthread_self();
  std::thread player([&pty, reading] {
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    pty.type("nrth");
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    pty.resize(60, 20);
    ::pthread_kill(reading, SIGWINCH);
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    pty.type("\x1b[D\x1b[D\x1b[Do\x1b[F!\r");
  });
  EXPECT_EQ(console.readline(), std::optional<std::string>("north!"));
  player.join();
  std::thread again([&pty] {
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    pty.type("xyz\x1b[A\x7f\r");  // Up replaces the draft with the last line
  });
  EXPECT_EQ(console.readline(), std::optional<std::string>("north"));
  again.join();
  EXPECT_EQ(console.wherey(), 3);
}

// A signal that ends the program gives the terminal back and still ends it by that signal.
TEST(TerminalConsole, EndingSignalsRestoreTheTerminal) {
  for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGABRT}) {
    struct sigaction current {};
    ::sigaction(sig, nullptr, &current);
    if (current.sa_handler == SIG_IGN) continue;  // ignored from the start: stays ignored
    Pty pty(80, 25);
    const termios before = pty.settings();
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      TerminalConsole console(pty.terminal(), pty.terminal(), Charset(CharsetKind::kUtf8), false);
      console.conwrite("bye", 7);
      console.flush();
      ::raise(sig);
      ::_exit(3);
    }
    std::string sent = pty.sent();
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "signal " << sig << " status " << status;
    EXPECT_EQ(WTERMSIG(status), sig);
    EXPECT_TRUE(same_settings(pty.settings(), before)) << "signal " << sig;
    sent += pty.sent();
    EXPECT_TRUE(contains(sent, "\x1b[?25h\x1b[23;0t")) << "signal " << sig;
  }
}

}  // namespace
}  // namespace tindel
