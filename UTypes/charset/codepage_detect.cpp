#include "UTypes/charset/codepage_detect.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "UTypes/charset/codepage.h"
#include "UTypes/charset/cp866.h"

namespace tindel {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool above_ascii(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

bool is_valid_utf8(std::string_view bytes) {
  while (!bytes.empty()) {
    if (!above_ascii(bytes.front())) {
      bytes.remove_prefix(1);
      continue;
    }
    Utf8Step step = decode_utf8(bytes);
    if (step.status != Utf8Step::Status::kChar) return false;
    bytes.remove_prefix(step.length);
  }
  return true;
}

// How often each letter occurs in Russian text, in hundredths of a per cent, in the order of
// the CP866 lower-case bytes: а..п (0xA0-0xAF), then р..я (0xE0-0xEF).
constexpr std::array<int, 32> kLetterFrequency = {
    801, 159, 454, 170, 298, 845, 94, 165, 735, 121, 349, 440, 321, 670, 1097, 281,  // а..п
    473, 547, 626, 262, 26,  97,  48, 144, 73,  36,  4,   190, 174, 32,  64,   201,  // р..я
};
constexpr int kFrequencyOfYo = 4;  // ё

// The frequency of the letter a CP866 byte stands for, either case; 0 for anything else.
int letter_frequency(std::uint8_t cp866) {
  const std::uint8_t lower = lowcase(cp866);
  if (lower >= 0xA0 && lower <= 0xAF) return kLetterFrequency[lower - 0xA0];
  if (lower >= 0xE0 && lower <= 0xEF) return kLetterFrequency[16 + (lower - 0xE0)];
  return lower == 0xF1 ? kFrequencyOfYo : 0;
}

bool is_windows_1251_letter(std::uint8_t b) {
  return b >= 0xC0 || b == 0xA8 || b == 0xB8;  // А..я, Ё, ё
}

// Russian text read in the wrong code page turns into rare letters or no letters at all: the
// reading whose letters are the more frequent ones wins, 'w' on a tie.
char by_letter_frequencies(std::string_view bytes) {
  long as_cp866 = 0;
  long as_windows_1251 = 0;
  for (char c : bytes) {
    const auto b = static_cast<std::uint8_t>(c);
    if (b < 0x80) continue;
    as_cp866 += letter_frequency(b);
    if (is_windows_1251_letter(b)) as_windows_1251 += letter_frequency(wintodos(b));
  }
  return as_cp866 > as_windows_1251 ? 'd' : 'w';
}

}  // namespace

char detect_codepage(std::string_view quest_bytes) {
  if (quest_bytes.starts_with(kByteOrderMark)) return 'u';
  if (std::none_of(quest_bytes.begin(), quest_bytes.end(), above_ascii)) return 'w';
  if (is_valid_utf8(quest_bytes)) return 'u';
  return by_letter_frequencies(quest_bytes);
}

}  // namespace tindel
