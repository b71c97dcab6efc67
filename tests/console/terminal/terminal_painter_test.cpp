#include "UTypes/console/terminal/terminal_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "UTypes/charset/cp866.h"

namespace tindel {
namespace {

// Just enough of an xterm to check what the painter sends: cursor positioning, erase,
// colours (kept as the SGR text in force), line feed with scrolling, UTF-8 text, and the
// pending wrap after a character in the last column.
class VirtualTerminal {
 public:
  struct Glyph {
    char32_t ch = U' ';
    std::string sgr;
  };

  VirtualTerminal(int width, int height)
      : width_(width), height_(height), cells_(static_cast<std::size_t>(width * height)) {}

  void feed(std::string_view bytes) {
    while (!bytes.empty()) {
      if (bytes[0] == '\x1b') {
        bytes.remove_prefix(control(bytes));
      } else if (bytes[0] == '\n') {
        line_feed();
        bytes.remove_prefix(1);
      } else if (bytes[0] == '\r') {
        x_ = 0, pending_wrap_ = false;
        bytes.remove_prefix(1);
      } else {
        Utf8Step step = decode_utf8(bytes);
        ASSERT_EQ(step.status, Utf8Step::Status::kChar);
        put(step.code_point);
        bytes.remove_prefix(step.length);
      }
    }
  }

  const Glyph& at(int x, int y) const { return cells_[static_cast<std::size_t>(y * width_ + x)]; }
  int x() const { return x_; }
  int y() const { return y_; }

 private:
  std::size_t control(std::string_view bytes) {
    EXPECT_GE(bytes.size(), 3u);
    EXPECT_EQ(bytes[1], '[');
    std::size_t end = 2;
    while (end < bytes.size() && !(bytes[end] >= 0x40 && bytes[end] <= 0x7E))
      ++end;
    std::string params(bytes.substr(2, end - 2));
    switch (bytes[end]) {
      case 'H': {
        int row = 1, column = 1;
        std::sscanf(params.c_str(), "%d;%d", &row, &column);
        x_ = column - 1, y_ = row - 1, pending_wrap_ = false;
        break;
      }
      case 'J':
        EXPECT_EQ(params, "2");
        for (auto& g : cells_)
          g = Glyph{U' ', sgr_};
        break;
      case 'm':
        sgr_ = std::string(bytes.substr(0, end + 1));
        break;
      default:
        ADD_FAILURE() << "unexpected control " << params << bytes[end];
    }
    return end + 1;
  }

  void line_feed() {
    pending_wrap_ = false;
    if (y_ + 1 < height_) {
      ++y_;
      return;
    }
    cells_.erase(cells_.begin(), cells_.begin() + width_);
    cells_.resize(static_cast<std::size_t>(width_ * height_), Glyph{U' ', sgr_});
  }

  void put(char32_t ch) {
    if (pending_wrap_) {
      x_ = 0;
      line_feed();
    }
    cells_[static_cast<std::size_t>(y_ * width_ + x_)] = Glyph{ch, sgr_};
    if (x_ + 1 < width_) {
      ++x_;
    } else {
      pending_wrap_ = true;
    }
  }

  int width_;
  int height_;
  std::vector<Glyph> cells_;
  std::string sgr_;
  int x_ = 0;
  int y_ = 0;
  bool pending_wrap_ = false;
};

// A model painted onto a virtual terminal the way the terminal console does it: painted
// and scrolled on the terminal before the model scrolls.
class Screen : private ScreenModel::ScrollListener {
 public:
  Screen(int width, int height)
      : model(width, height),
        painter(width, height, colours, Charset(CharsetKind::kUtf8)),
        terminal(width, height) {
    model.set_listener(this);
  }

  // Paints and returns the bytes sent.
  std::string paint() {
    std::string out;
    painter.paint(model, out);
    terminal.feed(out);
    return out;
  }

  void expect_terminal_shows_model(const std::string& context) {
    for (int y = 0; y < model.height(); ++y) {
      for (int x = 0; x < model.width(); ++x) {
        const Cell& cell = model.at(x, y);
        const auto& glyph = terminal.at(x, y);
        ASSERT_EQ(glyph.ch, cp866_glyph(cell.ch)) << context << " at " << x << "," << y;
        ASSERT_EQ(glyph.sgr, colours.sgr(cell.attr)) << context << " at " << x << "," << y;
      }
    }
    EXPECT_EQ(terminal.x(), model.cursor_x()) << context;
    EXPECT_EQ(terminal.y(), model.cursor_y()) << context;
  }

  AnsiColours colours{false};
  ScreenModel model;
  TerminalPainter painter;
  VirtualTerminal terminal;

 private:
  void before_scroll(const ScreenModel&) override {
    std::string out;
    painter.paint(model, out);
    painter.scroll_up(out);
    terminal.feed(out);
  }
};

TEST(TerminalPainter, NothingIsSentAgain) {
  Screen s(20, 5);
  std::string first = s.paint();
  EXPECT_FALSE(first.empty());
  s.expect_terminal_shows_model("first paint");
  EXPECT_EQ(s.paint(), "");
  // A menu pass: the same list drawn over itself, the cursor put back above it.
  for (int pass = 0; pass < 3; ++pass) {
    s.model.move_cursor(0, 1);
    s.model.write("\r\nGo north\r\nGo south", 7);
    s.model.move_cursor(0, 1);
    std::string sent = s.paint();
    if (pass == 0) {
      EXPECT_FALSE(sent.empty());
    } else {
      EXPECT_EQ(sent, "") << "pass " << pass;
    }
  }
  s.expect_terminal_shows_model("menu");
}

TEST(TerminalPainter, SendsOnlyTheChangedCells) {
  Screen s(20, 5);
  s.model.write("hello world", 7);
  s.paint();
  s.model.move_cursor(6, 0);
  s.model.write("W", 126);
  s.model.move_cursor(0, 3);
  EXPECT_EQ(s.paint(), "\x1b[1;7H\x1b[0;93;47mW\x1b[4;1H");
  s.expect_terminal_shows_model("one cell");
}

TEST(TerminalPainter, LastColumnAndBottomRightAreRepositioned) {
  Screen s(6, 3);
  s.paint();
  s.model.write("abcdefghijklmnopq", 0x1E);  // fills all but the bottom-right cell
  s.paint();
  s.expect_terminal_shows_model("before the last cell");
  s.model.write("r", 0x1E);  // the bottom-right cell scrolls the model at once
  s.paint();
  s.expect_terminal_shows_model("after the last cell");
  s.model.move_cursor(5, 2);
  s.model.write("\b", 7);
  s.model.move_cursor(5, 1);
  s.model.write("Z", 7);  // last column of a middle row: the next write goes to row 3
  s.model.write("Y", 7);
  s.paint();
  s.expect_terminal_shows_model("middle row");
}

// Terminals fill a scrolled-in line with the colours in force; the painter must not take it
// for the blank line the model has.
TEST(TerminalPainter, ScrolledInLineIsDrawnInTheModelsColours) {
  Screen s(4, 2);
  s.paint();
  s.model.write("ab", 0x1E);
  s.model.move_cursor(0, 1);
  s.model.write("\n", 7);
  s.paint();
  s.expect_terminal_shows_model("after the scroll");
}

TEST(TerminalPainter, ClearRedrawsInTheNewColours) {
  Screen s(8, 3);
  s.model.write("text", 7);
  s.paint();
  std::string out;
  s.model.clear(0x1F);
  s.painter.clear(0x1F, out);
  EXPECT_EQ(out, "\x1b[0;97;44m\x1b[H\x1b[2J");
  s.terminal.feed(out);
  s.paint();
  s.expect_terminal_shows_model("after clear");
}

// After a clear the blanks are known: only the text goes out, short gaps between changed
// cells are written over rather than jumped, and a line scrolled in takes the colours in
// force. In reverse video an erase shows no reversed blanks, so those are still drawn.
TEST(TerminalPainter, AfterAClearOnlyTheTextIsSent) {
  Screen s(12, 3);
  s.paint();
  std::string out;
  s.model.clear(0x1F);
  s.painter.clear(0x1F, out);
  s.model.write("ab cd", 0x1F);
  s.model.move_cursor(0, 2);
  s.painter.paint(s.model, out);
  EXPECT_EQ(out, "\x1b[0;97;44m\x1b[H\x1b[2Jab cd\x1b[3;1H");
  s.terminal.feed(out);
  s.expect_terminal_shows_model("after the clear");

  out.clear();
  s.model.move_cursor(0, 0);
  s.model.write("Xb cY", 0x1F);  // two cells change, three between them stay
  s.painter.paint(s.model, out);
  EXPECT_EQ(out, "\x1b[1;1HXb cY");
  s.terminal.feed(out);

  s.model.move_cursor(0, 2);
  s.model.write("\n", 0x1F);
  // Only the cursor, which the scroll left unknown: the new line is blank in 0x1F already.
  EXPECT_EQ(s.paint(), "\x1b[3;1H");
  s.expect_terminal_shows_model("after the scroll");

  TerminalPainter plain(12, 3, AnsiColours(true), Charset(CharsetKind::kUtf8));
  ScreenModel model(12, 3);
  out.clear();
  model.clear(0x70);
  plain.clear(0x70, out);
  plain.paint(model, out);
  EXPECT_EQ(std::count(out.begin(), out.end(), ' '), 36) << "reversed blanks drawn: " << out;
}

// Random writes, moves, clears and scrolls, painted at random moments: the terminal always
// ends up showing the model.
TEST(TerminalPainter, TerminalFollowsTheModel) {
  std::mt19937 random(20240607);
  const std::vector<std::string> pieces = {
      "Hello", "\r\n", "\xC9\xCD\xCD\xBB", "\x80\xEF\xF0", std::string(13, '-'), "\n", "\r", "x",
      "\b",    "\t",   "\x01\x7F",         "\r\n\r\n",     "long text ok"};
  for (int round = 0; round < 40; ++round) {
    Screen s(13, 6);
    s.paint();
    for (int step = 0; step < 60; ++step) {
      int what = static_cast<int>(random() % 10);
      if (what < 6) {
        s.model.write(pieces[random() % pieces.size()], static_cast<std::uint8_t>(random()));
      } else if (what < 8) {
        s.model.move_cursor(static_cast<int>(random() % 13), static_cast<int>(random() % 6));
      } else if (what == 8 && random() % 4 == 0) {
        std::string out;
        auto attr = static_cast<std::uint8_t>(random());
        s.model.clear(attr);
        s.painter.clear(attr, out);
        s.terminal.feed(out);
      } else {
        s.paint();
        s.expect_terminal_shows_model("round " + std::to_string(round) + " step " +
                                      std::to_string(step));
        ASSERT_EQ(s.paint(), "");
      }
    }
  }
}

// Whatever size the terminal reports, the painter holds a bounded grid and paints no cell
// outside the smaller of the terminal and the model.
TEST(TerminalPainter, AbsurdTerminalSizesAreBroughtIntoRange) {
  ScreenModel model(20, 5);
  model.write("hi", 7);
  TerminalPainter painter(65535, 65535, AnsiColours(false), Charset());
  std::string out;
  painter.paint(model, out);
  VirtualTerminal terminal(20, 5);
  terminal.feed(out);
  EXPECT_EQ(terminal.at(0, 0).ch, U'h');
  EXPECT_EQ(terminal.at(1, 0).ch, U'i');

  painter.resize(0, -1);
  out.clear();
  painter.paint(model, out);
  EXPECT_NE(out.find('h'), std::string::npos) << out;
  EXPECT_EQ(out.find('i'), std::string::npos) << "a cell beyond a 1x1 terminal: " << out;
}

}  // namespace
}  // namespace tindel
