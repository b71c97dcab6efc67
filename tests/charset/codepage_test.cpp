#include "UTypes/charset/codepage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "support/quest_harness.h"

namespace tindel::testing {
namespace {

// The ".qs1" store of every byte, row by row (16 bytes a row).
constexpr std::array<std::uint8_t, 256> kQs1 = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  17,  18,
    19,  20,  21,  22,  23,  24,  25,  26,  27,  28,  29,  30,  31,  255, 254, 253, 252, 251, 250,
    249, 248, 247, 246, 245, 244, 243, 242, 241, 240, 239, 238, 237, 236, 235, 234, 233, 232, 231,
    230, 229, 228, 227, 226, 225, 224, 223, 222, 221, 220, 219, 218, 217, 216, 215, 214, 213, 212,
    211, 210, 209, 208, 207, 206, 205, 204, 203, 202, 201, 200, 199, 198, 197, 196, 195, 194, 193,
    192, 191, 190, 189, 188, 187, 186, 185, 184, 183, 182, 181, 180, 179, 178, 177, 176, 175, 174,
    173, 172, 171, 170, 169, 168, 167, 166, 165, 164, 163, 162, 161, 160, 159, 158, 157, 156, 155,
    154, 153, 152, 151, 150, 149, 148, 147, 146, 145, 144, 143, 142, 141, 140, 139, 138, 137, 136,
    135, 134, 133, 132, 131, 130, 129, 128, 127, 126, 125, 124, 123, 122, 121, 120, 119, 118, 117,
    116, 115, 114, 113, 112, 111, 110, 109, 108, 107, 106, 105, 104, 103, 102, 101, 100, 99,  98,
    97,  96,  95,  94,  93,  92,  91,  90,  89,  88,  87,  86,  85,  84,  83,  82,  81,  80,  79,
    78,  77,  76,  75,  74,  73,  72,  71,  70,  69,  68,  67,  66,  65,  64,  63,  62,  61,  60,
    59,  58,  57,  56,  55,  54,  53,  52,  51,  50,  49,  48,  47,  46,  45,  44,  43,  42,  41,
    40,  39,  38,  37,  36,  35,  34,  33,  32,
};

// The Russian alphabet, А Б В Г Д Е Ё Ж ... Я, capitals and small letters, in Windows-1251
// and in CP866.
constexpr std::array<std::uint8_t, 33> kWinUpper = {
    0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xA8, 0xC6, 0xC7, 0xC8, 0xC9,
    0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF, 0xD0, 0xD1, 0xD2, 0xD3, 0xD4,
    0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF};
constexpr std::array<std::uint8_t, 33> kWinLower = {
    0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xB8, 0xE6, 0xE7, 0xE8, 0xE9,
    0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4,
    0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF};
constexpr std::array<std::uint8_t, 33> kDosUpper = {
    0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0xF0, 0x86, 0x87, 0x88, 0x89,
    0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x91, 0x92, 0x93, 0x94,
    0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0x9B, 0x9C, 0x9D, 0x9E, 0x9F};
constexpr std::array<std::uint8_t, 33> kDosLower = {
    0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xF1, 0xA6, 0xA7, 0xA8, 0xA9,
    0xAA, 0xAB, 0xAC, 0xAD, 0xAE, 0xAF, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4,
    0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF};

// Identity everywhere except the pairs given.
template <std::size_t N>
std::array<int, 256> table_with(const std::array<std::uint8_t, N>& from,
                                const std::array<std::uint8_t, N>& to, std::array<int, 256> table) {
  for (std::size_t i = 0; i < N; ++i)
    table[from[i]] = to[i];
  return table;
}

std::array<int, 256> identity() {
  std::array<int, 256> t{};
  for (int b = 0; b < 256; ++b)
    t[static_cast<std::size_t>(b)] = b;
  return t;
}

TEST(Codepage, Qs1DecodingOfEveryByte) {
  for (int b = 0; b < 256; ++b) {
    auto byte = static_cast<std::uint8_t>(b);
    EXPECT_EQ(unqs1(byte), kQs1[byte]) << "byte " << b;
    EXPECT_EQ(unqs1(unqs1(byte)), byte) << "byte " << b;
  }
}

TEST(Codepage, WindowsToDosOfEveryByte) {
  auto table = table_with(kWinLower, kDosLower, table_with(kWinUpper, kDosUpper, identity()));
  for (int b = 0; b < 256; ++b)
    EXPECT_EQ(wintodos(static_cast<std::uint8_t>(b)), table[static_cast<std::size_t>(b)])
        << "byte " << b;
}

TEST(Codepage, LowerCaseOfEveryByte) {
  std::array<std::uint8_t, 26> latin_upper{}, latin_lower{};
  for (std::size_t i = 0; i < 26; ++i) {
    latin_upper[i] = static_cast<std::uint8_t>("ABCDEFGHIJKLMNOPQRSTUVWXYZ"[i]);
    latin_lower[i] = static_cast<std::uint8_t>("abcdefghijklmnopqrstuvwxyz"[i]);
  }
  auto table = table_with(latin_upper, latin_lower, table_with(kDosUpper, kDosLower, identity()));
  for (int b = 0; b < 256; ++b)
    EXPECT_EQ(lowcase(static_cast<std::uint8_t>(b)), table[static_cast<std::size_t>(b)])
        << "byte " << b;
}

// "pln Привет" with the Cyrillic word in the given code page, CR LF, stored as ".qs1".
std::string encoded_quest(const std::string& word) {
  std::string plain = "pln " + word + "\r\n", stored;
  for (char c : plain)
    stored += static_cast<char>(unqs1(static_cast<std::uint8_t>(c)));
  return stored;
}

const std::string kPrivetWin = "\xCF\xF0\xE8\xE2\xE5\xF2";
const std::string kPrivetDos = "\x8F\xE0\xA8\xA2\xA5\xE2";

TEST(Codepage, EncodedQuestIsDecodedBeforeItsCodePageIsConverted) {
  struct Case {
    const char* codepage;
    std::string stored_word;
  };
  for (const Case& c : {Case{"w", kPrivetWin}, Case{"d", kPrivetDos}}) {
    TempDir dir;
    QuestRun run = run_quest(dir, encoded_quest(c.stored_word),
                             {.args = {"0", c.codepage, "quest.qs1"}, .convert_line_ends = false});
    EXPECT_EQ(run.status, 0) << c.codepage;
    EXPECT_NE(run.output().find(kPrivetDos), std::string::npos) << c.codepage << run.output();
  }
}

}  // namespace
}  // namespace tindel::testing
