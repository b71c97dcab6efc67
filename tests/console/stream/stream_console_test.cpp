#include "UTypes/console/stream/stream_console.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "UTypes/state/program_end.h"

namespace tindel {
namespace {

// A stream console between two real pipes: the test writes the player's bytes into one and
// reads what a person would have seen out of the other.
class Piped {
 public:
  explicit Piped(bool utf8 = true) {
    EXPECT_EQ(::pipe(input_), 0);
    EXPECT_EQ(::pipe(output_), 0);
    ::fcntl(output_[0], F_SETFL, O_NONBLOCK);
    console_ = std::make_unique<StreamConsole>(
        input_[0], output_[1], Charset(utf8 ? CharsetKind::kUtf8 : CharsetKind::kCp866));
  }
  ~Piped() {
    console_.reset();
    for (int fd : {input_[0], input_[1], output_[0], output_[1]})
      if (fd >= 0) ::close(fd);
  }

  StreamConsole& console() { return *console_; }
  void type(const std::string& bytes) {
    ASSERT_EQ(::write(input_[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  void end_input() {
    ::close(input_[1]);
    input_[1] = -1;
  }
  // Everything written to the output since the last call.
  std::string seen() {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(output_[0], buffer, sizeof buffer)) > 0)
      text.append(buffer, static_cast<std::size_t>(n));
    return text;
  }

 private:
  int input_[2] = {-1, -1};
  int output_[2] = {-1, -1};
  std::unique_ptr<StreamConsole> console_;
};

TEST(StreamConsole, KeysFromAByteScript) {
  Piped p;
  p.type("\x1b[Bx\r\n\n\x1b\xD1\x8F\x1b[[A");
  p.end_input();
  std::vector<int> keys;
  for (int i = 0; i < 7; ++i)
    keys.push_back(p.console().waitkey());
  EXPECT_EQ(keys, (std::vector<int>{80, 'x', 13, 13, 27, 0xEF, 112}));
}

TEST(StreamConsole, EndOfInputEndsTheWaitForAKey) {
  Piped p;
  p.type("a");
  p.end_input();
  EXPECT_EQ(p.console().waitkey(), 'a');
  try {
    p.console().waitkey();
    FAIL() << "waitkey returned at the end of input";
  } catch (const ProgramEnd& end) {
    EXPECT_EQ(end.status, exit_status::kOk);
    EXPECT_EQ(end.note, "tindel: input ended");
  }
}

TEST(StreamConsole, ReadkeyTakesOnlyWhatIsThere) {
  Piped p;
  EXPECT_EQ(p.console().readkey(), 0);  // nothing typed yet, and no waiting for it
  p.type("q");
  EXPECT_EQ(p.console().readkey(), 'q');
  EXPECT_EQ(p.console().readkey(), 0);
  p.end_input();
  EXPECT_EQ(p.console().readkey(), 0);
}

TEST(StreamConsole, PollbreakLeavesTheKeysToTheWaits) {
  Piped p;
  p.type("\x1b");
  p.end_input();
  EXPECT_EQ(p.console().pollbreak(), 0);
  EXPECT_EQ(p.console().waitkey(), 27);
}

TEST(StreamConsole, LinesAreConvertedAndEchoed) {
  Piped p;
  p.console().conwrite("Name? ", 7);
  p.type(
      "\x1b[B"
      "Вася\r\n"
      "x€\n"
      "last");
  p.end_input();
  EXPECT_EQ(p.console().waitkey(), 80);  // keys and lines share one buffer
  EXPECT_EQ(p.console().readline(), std::optional<std::string>("\x82\xA0\xE1\xEF"));
  EXPECT_EQ(p.console().readline(), std::optional<std::string>("x?"));
  EXPECT_EQ(p.console().readline(), std::optional<std::string>("last"));
  EXPECT_EQ(p.console().readline(), std::nullopt);
  EXPECT_EQ(p.console().wherey(), 4);
  p.console().flush();
  EXPECT_EQ(p.seen(), "Name? Вася\nx?\nlast\n");
}

TEST(StreamConsole, RawBytesWithoutUtf8) {
  Piped p(false);
  p.type("\x82\xA0\n\xEF");
  p.end_input();
  EXPECT_EQ(p.console().readline(), std::optional<std::string>("\x82\xA0"));
  EXPECT_EQ(p.console().waitkey(), 0xEF);
  p.console().conwrite("\xC9\xCD\xBB", 7);
  p.console().flush();
  EXPECT_EQ(p.seen(), "\x82\xA0\n\xC9\xCD\xBB\n");
}

TEST(StreamConsole, RowsAboveTheCursorGoOutBeforeAWait) {
  Piped p;
  p.console().conwrite("Question?\r\nPress a key: ", 7);
  p.type("k");
  EXPECT_EQ(p.seen(), "");  // nothing is final before the program waits
  EXPECT_EQ(p.console().waitkey(), 'k');
  EXPECT_EQ(p.seen(), "Question?\n");
  p.console().conwrite("done\r\n", 7);
  p.console().flush();
  EXPECT_EQ(p.seen(), "Press a key: done\n");
}

// The menu redraws its list every pass and moves the cursor back above it; the list goes
// out once, as it stood when the menu ended.
TEST(StreamConsole, ARedrawnListAppearsOnce) {
  Piped p;
  const std::vector<std::string> captions = {"Go north", "Go south", "Stay"};
  p.console().conwrite("A dark room.\r\n", 7);
  p.type(std::string(20, 'p'));
  for (int pass = 0; pass < 8; ++pass) {
    for (int i = 0; i < 3; ++i) {
      p.console().conwrite("\r\n", 7);
      std::string mark = i == pass % 3 ? "> " : "  ";
      p.console().conwrite(mark + captions[static_cast<std::size_t>(i)], i == pass % 3 ? 126 : 7);
    }
    p.console().gotoxy(1, p.console().wherey() - 3);
    p.console().menutick();
    p.console().readkey();
  }
  for (int i = 0; i < 6; ++i)
    p.console().conwrite("\r\n", 7);
  p.console().flush();
  // The last pass (7) highlighted the second entry.
  EXPECT_EQ(p.seen(), "A dark room.\n\n  Go north\n> Go south\n  Stay\n\n\n");
}

TEST(StreamConsole, ScrolledRowsGoOutOnceInOrder) {
  Piped p;
  std::string expected;
  for (int i = 1; i <= 40; ++i) {
    p.console().conwrite("line " + std::to_string(i) + "\r\n", 7);
    expected += "line " + std::to_string(i) + "\n";
    if (i % 7 == 0) {
      p.type("k");
      p.console().waitkey();  // emits the rows written so far
    }
  }
  p.console().flush();
  p.console().flush();  // nothing new: nothing again
  EXPECT_EQ(p.seen(), expected);
}

// Rows that scrolled away wait for a write of their own no longer than until the program
// next looks for the player: a timed pause polls, a menu ticks.
TEST(StreamConsole, ScrolledRowsAreSeenWhenTheProgramPollsOrTicks) {
  Piped p;
  auto lines = [](int first, int last) {
    std::string text;
    for (int i = first; i <= last; ++i)
      text += "line " + std::to_string(i) + "\n";
    return text;
  };
  for (int i = 1; i <= 30; ++i)
    p.console().conwrite("line " + std::to_string(i) + "\r\n", 7);
  EXPECT_EQ(p.console().readkey(), key::kNone);
  EXPECT_EQ(p.seen(), lines(1, 6));  // 30 rows on a screen of 25
  for (int i = 31; i <= 33; ++i)
    p.console().conwrite("line " + std::to_string(i) + "\r\n", 7);
  p.console().menutick();
  EXPECT_EQ(p.seen(), lines(7, 9));
}

TEST(StreamConsole, ClrscrKeepsWhatWasWritten) {
  Piped p;
  p.console().conwrite("first\r\nsecond", 7);
  p.console().clrscr(0x1E);
  EXPECT_EQ(p.seen(), "first\nsecond\n");
  EXPECT_EQ(p.console().wherey(), 1);
  p.console().conwrite("third\r\n", 0x1E);
  p.console().clrscr(7);
  p.console().clrscr(7);  // an empty screen adds nothing
  EXPECT_EQ(p.seen(), "third\n");
}

TEST(StreamConsole, OutputHoldsNoEscapeSequences) {
  for (bool utf8 : {true, false}) {
    Piped p(utf8);
    p.console().set_title("Tindel");
    p.console().showcursor(false);
    p.console().conwrite("\x1b[31mred\x1b]0;x\x07\x01\x7f", 0x4E);
    p.console().clrscr(0x17);
    p.console().conwrite("\x80\xC4\xDB", 0xF0);
    p.console().flush();
    std::string out = p.seen();
    EXPECT_FALSE(out.empty());
    for (char c : out) {
      auto byte = static_cast<unsigned char>(c);
      EXPECT_TRUE(byte == '\n' || (byte >= 0x20 && byte != 0x7F)) << int{byte} << " utf8 " << utf8;
    }
  }
}

}  // namespace
}  // namespace tindel
