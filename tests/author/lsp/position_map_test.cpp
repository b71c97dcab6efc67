#include "author/lsp/position_map.h"

#include <gtest/gtest.h>

namespace tindel::author::lsp {
namespace {

TEST(LspPositionMap, CountsUtf16UnitsForCyrillicAndCharactersBeyondTheBmp) {
  PositionMap map(":старт\r\npln Ёж 😀 x\r\n");
  // "x" is the 10th character of line 2; the emoji before it takes two UTF-16 units.
  EXPECT_EQ(map.to_editor({2, 10}), (EditorPosition{1, 10}));
  EXPECT_EQ(map.to_editor({2, 5}), (EditorPosition{1, 4}));
  QuestPosition back = map.to_quest({1, 10});
  EXPECT_EQ(back.line, 2);
  EXPECT_EQ(back.column, 10);
  EXPECT_EQ(map.to_editor({1, 2}, 5), (EditorPosition{0, 6}));
}

TEST(LspPositionMap, LinesOfAnLfOnlyTextAreTheQuestLines) {
  PositionMap map("a\nbb\nccc");
  EXPECT_EQ(map.to_editor({3, 2}), (EditorPosition{2, 1}));
  EXPECT_EQ(map.to_quest({1, 2}).line, 2);
  EXPECT_EQ(map.to_quest({1, 2}).column, 3);
}

TEST(LspPositionMap, ALoneLfInACrLfTextStaysInsideTheQuestLine) {
  // The interpreter reads "p one\ntwo" as one line; the editor shows two.
  PositionMap map("p one\ntwo\r\nend\r\n");
  EXPECT_EQ(map.to_editor({1, 8}), (EditorPosition{1, 1}));
  EXPECT_EQ(map.to_editor({2, 1}), (EditorPosition{2, 0}));
  QuestPosition inside = map.to_quest({1, 2});
  EXPECT_EQ(inside.line, 1);
  EXPECT_EQ(inside.column, 9);
}

TEST(LspPositionMap, ClampsPlacesBeyondTheTextToItsEnds) {
  PositionMap map("abc\r\nde");
  EXPECT_EQ(map.to_editor({1, 40}), (EditorPosition{0, 3}));  // never over the line end
  EXPECT_EQ(map.to_editor({9, 1}), (EditorPosition{1, 2}));
  EXPECT_EQ(map.to_quest({0, 99}).column, 4);
  EXPECT_EQ(map.offset_of({5, 0}), map.text().size());
  EXPECT_EQ(map.editor_line(1), "de");
  EXPECT_EQ(map.editor_line(2), "");
}

TEST(LspPositionMap, Utf16LengthCountsSurrogatePairsAsTwo) {
  EXPECT_EQ(utf16_length("ab"), 2);
  EXPECT_EQ(utf16_length("ёж"), 2);
  EXPECT_EQ(utf16_length("€😀"), 3);
}

}  // namespace
}  // namespace tindel::author::lsp
