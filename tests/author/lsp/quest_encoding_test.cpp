#include "author/lsp/quest_encoding.h"

#include <gtest/gtest.h>

#include "author/lsp/uri.h"

namespace tindel::author::lsp {
namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values)
    out += static_cast<char>(v);
  return out;
}

TEST(LspQuestEncoding, EachCharacterBecomesOneByteOfTheCodePage) {
  EXPECT_EQ(quest_bytes_from_editor("Ёж\r\n", 'w'), bytes({0xA8, 0xE6, 13, 10}));
  EXPECT_EQ(quest_bytes_from_editor("Ёж\r\n", 'd'), bytes({0xF0, 0xA6, 13, 10}));
  EXPECT_EQ(quest_bytes_from_editor("«Я» —\r\n", 'w'), bytes({0xAB, 0xDF, 0xBB, 32, 0x97, 13, 10}));
  // What the code page lacks is one '?', so the columns after it still agree.
  EXPECT_EQ(quest_bytes_from_editor("a😀b", 'w'), "a?b");
  EXPECT_EQ(quest_bytes_from_editor("a€b", 'd'), "a?b");
  EXPECT_EQ(quest_bytes_from_editor("Ёж😀\r\n", 'u'), "Ёж😀\r\n");
}

TEST(LspQuestEncoding, LineEndsNormalisedByTheEditorBecomeCrLfAndOthersStay) {
  EXPECT_EQ(quest_bytes_from_editor("a\nb\n", 'u'), "a\r\nb\r\n");
  EXPECT_EQ(quest_bytes_from_editor("a\r\nb\nc", 'u'), "a\r\nb\nc");  // kept: the lint warns of it
  EXPECT_EQ(unicode_to_cp1251(U'я'), static_cast<char>(0xFF));
  EXPECT_EQ(unicode_to_cp1251(U'№'), static_cast<char>(0xB9));
}

TEST(LspQuestEncoding, FirstLineCommentNamesTheCodePage) {
  EXPECT_EQ(codepage_from_first_line("; codepage: d\r\n:start"), 'd');
  EXPECT_EQ(codepage_from_first_line("  ;CodePage=U"), 'u');
  EXPECT_EQ(codepage_from_first_line(";quest of the year, codepage w\r\n"), 'w');
  EXPECT_EQ(codepage_from_first_line("; codepage: windows\r\n"), 0);
  EXPECT_EQ(codepage_from_first_line("pln codepage: d\r\n"), 0);
  EXPECT_EQ(codepage_from_first_line(":start\r\n; codepage: d\r\n"), 0);
}

TEST(LspUri, FileUrisGiveTheirDecodedPathAndFolder) {
  EXPECT_EQ(path_from_uri("file:///home/me/my%20quests/a.qst"), "/home/me/my quests/a.qst");
  EXPECT_EQ(path_from_uri("file://localhost/tmp/q.qst"), "/tmp/q.qst");
  EXPECT_EQ(folder_of_uri("file:///home/me/my%20quests/a.qst"), "/home/me/my quests");
  EXPECT_EQ(folder_of_uri("file:///a.qst"), "/");
  EXPECT_EQ(folder_of_uri("untitled:Untitled-1"), ".");
  EXPECT_EQ(path_from_uri("file:///bad%zzname"), "/bad%zzname");
}

}  // namespace
}  // namespace tindel::author::lsp
