#include "UTypes/console/screen_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UTypes/console/scripted/scripted_console.h"

namespace tindel {
namespace {

// Records the top row each time the model is about to scroll it away.
class ScrollRecorder : public ScreenModel::ScrollListener {
 public:
  void before_scroll(const ScreenModel& model) override { tops.push_back(model.row_text(0)); }
  std::vector<std::string> tops;
};

struct CursorCase {
  const char* name;
  std::string bytes;
  int x;
  int y;
};

TEST(ScreenModel, CursorFollowsTheWindowsConsoleRules) {
  const std::vector<CursorCase> cases = {
      {"plain text", "abc", 3, 0},
      {"carriage return", "abc\r", 0, 0},
      {"line feed keeps the column", "abc\n", 3, 1},
      {"CR LF", "abc\r\n", 0, 1},
      {"last column wraps at once", std::string(10, 'x'), 0, 1},
      {"one before the last column", std::string(9, 'x'), 9, 0},
      {"wrap then CR LF is a second row", std::string(10, 'x') + "\r\n", 0, 2},
      {"backspace stays in the row", "a\b\b", 0, 0},
      {"tab to the next stop", "a\t", 8, 0},
      {"tab stops at the last column", "abcdefghi\t", 9, 0},
      {"bell shows nothing", "\a", 0, 0},
  };
  for (const auto& c : cases) {
    ScreenModel model(10, 4);
    model.write(c.bytes, 7);
    EXPECT_EQ(model.cursor_x(), c.x) << c.name;
    EXPECT_EQ(model.cursor_y(), c.y) << c.name;
  }
}

TEST(ScreenModel, CellsKeepTheirAttributes) {
  ScreenModel model(10, 4);
  model.write("ab", 30);
  model.write("c", 126);
  EXPECT_EQ(model.at(0, 0), (Cell{'a', 30}));
  EXPECT_EQ(model.at(1, 0), (Cell{'b', 30}));
  EXPECT_EQ(model.at(2, 0), (Cell{'c', 126}));
  EXPECT_EQ(model.at(3, 0), (Cell{' ', 7}));
  EXPECT_EQ(model.row_text(0), "abc");
}

TEST(ScreenModel, ScrollsAtTheBottomAndTellsTheListenerFirst) {
  ScreenModel model(10, 3);
  ScrollRecorder recorder;
  model.set_listener(&recorder);
  model.write("one\r\ntwo\r\nthree\r\n", 7);
  ASSERT_EQ(recorder.tops, std::vector<std::string>{"one"});
  EXPECT_EQ(model.row_text(0), "two");
  EXPECT_EQ(model.row_text(1), "three");
  EXPECT_EQ(model.row_text(2), "");
  EXPECT_EQ(model.cursor_y(), 2);
  // The new bottom row takes the attribute of the write that scrolled.
  model.write("\n", 30);
  EXPECT_EQ(model.at(5, 2).attr, 30);
  EXPECT_EQ(recorder.tops, (std::vector<std::string>{"one", "two"}));
}

TEST(ScreenModel, BottomRightCellScrollsAtOnce) {
  ScreenModel model(4, 2);
  ScrollRecorder recorder;
  model.set_listener(&recorder);
  model.write("abcdefgh", 7);
  EXPECT_EQ(recorder.tops, std::vector<std::string>{"abcd"});
  EXPECT_EQ(model.row_text(0), "efgh");
  EXPECT_EQ(model.cursor_x(), 0);
  EXPECT_EQ(model.cursor_y(), 1);
}

TEST(ScreenModel, ClearFillsInTheAttributeAndHomes) {
  ScreenModel model(5, 3);
  model.write("hello\r\nworld", 7);
  model.clear(0x1E);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(model.at(x, y), (Cell{' ', 0x1E})) << x << "," << y;
  EXPECT_EQ(model.cursor_x(), 0);
  EXPECT_EQ(model.cursor_y(), 0);
}

TEST(ScreenModel, ResizeKeepsTheRowsEndingAtTheCursor) {
  ScreenModel model(10, 5);
  model.write("a\r\nb\r\nc\r\nd", 7);
  model.resize(6, 2);
  EXPECT_EQ(model.row_text(0), "c");
  EXPECT_EQ(model.row_text(1), "d");
  EXPECT_EQ(model.cursor_y(), 1);
  EXPECT_EQ(model.cursor_x(), 1);
  model.resize(20, 6);
  EXPECT_EQ(model.row_text(0), "c");
  EXPECT_EQ(model.cursor_y(), 1);
}

// wherey and gotoxy as the interpreter calls them: 1-based, out-of-range moves ignored.
TEST(ScreenModel, OneBasedCoordinatesThroughAConsole) {
  ScriptedConsole console(80, 25);
  EXPECT_EQ(console.wherey(), 1);
  console.conwrite("x\r\ny\r\n", 7);
  EXPECT_EQ(console.wherey(), 3);
  console.gotoxy(1, console.wherey() - 1);
  EXPECT_EQ(console.wherey(), 2);
  console.conwrite("Z", 7);
  EXPECT_EQ(console.screen().row_text(1), "Z");

  const std::vector<std::pair<int, int>> outside = {{0, 1}, {1, 0}, {81, 1}, {1, 26}, {-5, -5}};
  for (auto [x, y] : outside) {
    console.gotoxy(x, y);
    EXPECT_EQ(console.wherey(), 2) << x << "," << y;
    EXPECT_EQ(console.screen().cursor_x(), 1) << x << "," << y;
  }
  console.gotoxy(80, 25);
  EXPECT_EQ(console.wherey(), 25);
  EXPECT_EQ(console.screen().cursor_x(), 79);
}

// A terminal may report any size: the model stays usable and small enough to hold.
TEST(ScreenModel, AbsurdSizesAreBroughtIntoRange) {
  struct SizeCase {
    int width, height, kept_width, kept_height;
  };
  const std::vector<SizeCase> cases = {
      {0, 0, 1, 1},
      {-3, 25, 1, 25},
      {46341, 46341, kMaxScreenSide, kMaxScreenSide},
      {65535, 65535, kMaxScreenSide, kMaxScreenSide},
      {80, 65535, 80, kMaxScreenSide},
      {kMaxScreenSide, 1, kMaxScreenSide, 1},
  };
  for (const auto& c : cases) {
    const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
    ScreenModel model(c.width, c.height);
    EXPECT_EQ(model.width(), c.kept_width) << size;
    EXPECT_EQ(model.height(), c.kept_height) << size;
    ScreenModel resized(80, 25);
    resized.write("kept", 7);
    resized.resize(c.width, c.height);
    EXPECT_EQ(resized.width(), c.kept_width) << size;
    EXPECT_EQ(resized.height(), c.kept_height) << size;
    // The text at the cursor is kept as far as the new width allows, and the far corner is
    // a cell like any other while one step beyond it is outside.
    EXPECT_EQ(resized.row_text(0), std::string("kept").substr(0, std::size_t(c.kept_width)))
        << size;
    EXPECT_TRUE(resized.move_cursor(c.kept_width - 1, c.kept_height - 1)) << size;
    EXPECT_FALSE(resized.move_cursor(c.kept_width, 0)) << size;
    EXPECT_FALSE(resized.move_cursor(0, c.kept_height)) << size;
  }
}

}  // namespace
}  // namespace tindel
