// The line editor of `input` on a terminal: the keys, the 63-character limit and the lines
// typed earlier.
#include "UTypes/console/terminal/line_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tindel {
namespace {

// Keys written as text: "<" Left, ">" Right, "^" Home, "$" End, "~" Delete, "#" Backspace,
// "U" Ctrl+U, "E" Escape, "A" Up, "V" Down; anything else is typed.
std::vector<EditKey> keys(const std::string& script) {
  std::vector<EditKey> out;
  for (char c : script) {
    switch (c) {
      case '<':
        out.push_back({37, true});
        break;
      case '>':
        out.push_back({39, true});
        break;
      case '^':
        out.push_back({36, true});
        break;
      case '$':
        out.push_back({35, true});
        break;
      case '~':
        out.push_back({46, true});
        break;
      case 'A':
        out.push_back({72, true});
        break;
      case 'V':
        out.push_back({80, true});
        break;
      case '#':
        out.push_back({8, false});
        break;
      case 'U':
        out.push_back({21, false});
        break;
      case 'E':
        out.push_back({27, false});
        break;
      default:
        out.push_back({static_cast<std::uint8_t>(c), false});
        break;
    }
  }
  return out;
}

struct Edited {
  std::string text;
  std::size_t cursor;
};

Edited edit(const std::string& script, std::vector<std::string> history = {}) {
  LineEditor editor(history);
  for (EditKey k : keys(script))
    EXPECT_EQ(editor.press(k), LineEditor::Outcome::kEditing) << script;
  return {editor.text(), editor.cursor()};
}

TEST(LineEditor, KeysMoveInsertAndDelete) {
  struct Case {
    const char* script;
    const char* text;
    std::size_t cursor;
  };
  const Case cases[] = {
      {"north", "north", 5},
      {"nrth<<<o", "north", 2},
      {"orth^n", "north", 1},
      {"nort^$h", "north", 5},
      {"norxth<<#", "north", 3},
      {"norxth<<<~", "north", 3},
      {"##~~<<>>", "", 0},             // nothing to delete or pass at the ends
      {"go north<<<<<U", "north", 0},  // Ctrl+U takes what stands before the cursor
      {"go northE", "", 0},            // Escape clears the line
      {"go northEup", "up", 2},
      {"ab>>>c", "abc", 3},
      {"H P", "H P", 3},  // typed H and P are letters; the arrows share their codes only
  };
  for (const Case& c : cases) {
    Edited e = edit(c.script);
    EXPECT_EQ(e.text, c.text) << c.script;
    EXPECT_EQ(e.cursor, c.cursor) << c.script;
  }
}

TEST(LineEditor, TheLineStopsAt63Characters) {
  Edited e = edit(std::string(70, 'x'));
  EXPECT_EQ(e.text, std::string(63, 'x'));
  e = edit(std::string(63, 'x') + "^y");  // nor in the middle
  EXPECT_EQ(e.text, std::string(63, 'x'));
  EXPECT_EQ(e.cursor, 0u);
}

TEST(LineEditor, ControlsAndUnknownKeysTypeNothing) {
  LineEditor::Outcome outcome{};
  std::vector<std::string> history;
  LineEditor editor(history);
  for (EditKey k :
       {EditKey{'\t', false}, EditKey{112, true}, EditKey{33, true}, EditKey{'a', false}})
    outcome = editor.press(k);
  EXPECT_EQ(outcome, LineEditor::Outcome::kEditing);
  EXPECT_EQ(editor.text(), "a");
}

TEST(LineEditor, EnterEndsTheLineAndKeepsItForLater) {
  std::vector<std::string> history;
  for (const char* typed : {"first", "", "second"}) {
    LineEditor editor(history);
    for (EditKey k : keys(typed))
      editor.press(k);
    EXPECT_EQ(editor.press({13, false}), LineEditor::Outcome::kDone);
    EXPECT_EQ(editor.text(), typed);
  }
  EXPECT_EQ(history, (std::vector<std::string>{"first", "second"}));  // empty lines are not kept
}

TEST(LineEditor, UpAndDownWalkTheEarlierLines) {
  const std::vector<std::string> history = {"one", "two"};
  struct Case {
    const char* script;
    const char* text;
  };
  const Case cases[] = {
      {"A", "two"},   {"AA", "one"},        {"AAA", "one"},  // stops at the oldest
      {"AAV", "two"}, {"draftAV", "draft"},                  // Down past the newest: the draft
      {"V", ""},      {"A<<x", "txwo"},                      // a recalled line is edited
      {"AAVVV", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(edit(c.script, history).text, c.text) << c.script;
}

TEST(LineEditor, CtrlDEndsTheInputOnlyOnAnEmptyLine) {
  std::vector<std::string> history;
  LineEditor editor(history);
  editor.press({'a', false});
  EXPECT_EQ(editor.press({4, false}), LineEditor::Outcome::kEditing);
  editor.press({8, false});
  EXPECT_EQ(editor.press({4, false}), LineEditor::Outcome::kEndOfInput);
}

}  // namespace
}  // namespace tindel
