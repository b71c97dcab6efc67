// Finding a quest's code page from its bytes: UTF-8 with or without a byte-order mark,
// CP866 and Windows-1251, long and short, Cyrillic alone and among Latin statements.
#include "UTypes/charset/codepage_detect.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "UTypes/charset/codepage.h"
#include "UTypes/charset/cp866.h"

namespace tindel {
namespace {

std::string to_cp866(const std::string& utf8) {
  return utf8_to_cp866(utf8);
}

// Through CP866 and back over the interpreter's own Windows-1251 table.
std::string to_windows_1251(const std::string& utf8) {
  std::string out;
  for (char c : to_cp866(utf8)) {
    const auto cp866 = static_cast<std::uint8_t>(c);
    std::uint8_t b = cp866;
    for (int w = 0x80; w < 0x100; ++w)
      if (wintodos(static_cast<std::uint8_t>(w)) == cp866 && w != cp866)
        b = static_cast<std::uint8_t>(w);
    out.push_back(static_cast<char>(b));
  }
  return out;
}

const std::string kStory =
    ":start\n"
    "pln Вы стоите на берегу тёмного озера. Ветер несёт с воды запах тины,\n"
    "pln а за спиной шумит старый лес. Ёлки скрипят, и где-то кричит сова.\n"
    "btn forest, Вернуться в лес\n"
    "btn boat, Сесть в лодку\n"
    "end\n";
const std::string kMostlyLatin =
    ":start\n"
    "if gold > 10 then goto shop\n"
    "pln Gold: #gold$, inventory: rope, lamp, map, compass, torch.\n"
    "pln Он ушёл.\n"
    "btn shop, Shop\n"
    "end\n";

struct DetectCase {
  const char* what;
  std::string bytes;
  char codepage;
};
void PrintTo(const DetectCase& c, std::ostream* os) {
  *os << c.what;
}

class CodepageDetection : public ::testing::TestWithParam<DetectCase> {};

TEST_P(CodepageDetection, TheQuestsOwnCodePageIsFound) {
  EXPECT_EQ(detect_codepage(GetParam().bytes), GetParam().codepage);
}

INSTANTIATE_TEST_SUITE_P(
    Quests, CodepageDetection,
    ::testing::Values(
        DetectCase{"UTF-8", kStory, 'u'},
        DetectCase{"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + kStory, 'u'},
        DetectCase{"a byte-order mark before ASCII alone", "\xEF\xBB\xBFpln hi\n", 'u'},
        DetectCase{"UTF-8 with Latin letters only above ASCII", "pln Caf\xC3\xA9 \xE2\x80\x94 ok\n",
                   'u'},
        DetectCase{"CP866", to_cp866(kStory), 'd'},
        DetectCase{"Windows-1251", to_windows_1251(kStory), 'w'},
        DetectCase{"CP866 among Latin statements", to_cp866(kMostlyLatin), 'd'},
        DetectCase{"Windows-1251 among Latin statements", to_windows_1251(kMostlyLatin), 'w'},
        DetectCase{"one short CP866 word", to_cp866("pln Да\n"), 'd'},
        DetectCase{"one short Windows-1251 word", to_windows_1251("pln Да\n"), 'w'},
        DetectCase{"a short CP866 line in capitals", to_cp866("pln КОНЕЦ ИГРЫ\n"), 'd'},
        DetectCase{"a short Windows-1251 line in capitals", to_windows_1251("pln КОНЕЦ ИГРЫ\n"),
                   'w'},
        DetectCase{"ASCII alone", "pln Hello\nend\n", 'w'}, DetectCase{"nothing at all", "", 'w'}));

// One byte too few, or one stray byte, and the text is not UTF-8 whatever else it holds.
TEST(CodepageDetection, BrokenUtf8IsNotTakenForUtf8) {
  EXPECT_NE(detect_codepage(kStory.substr(0, kStory.find("тёмного") + 1)), 'u');
  EXPECT_NE(detect_codepage(kStory + "\xD0"), 'u');
  EXPECT_NE(detect_codepage("\x80" + kStory), 'u');
}

}  // namespace
}  // namespace tindel
