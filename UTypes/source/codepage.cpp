#include "UTypes/source/codepage.h"

namespace tindel {

std::uint8_t unqs1(std::uint8_t b) { return b >= 32 ? static_cast<std::uint8_t>(287 - b) : b; }

std::uint8_t wintodos(std::uint8_t b) {
  if (b >= 192 && b <= 239) return static_cast<std::uint8_t>(b - 64);  // А..Я, а..п
  if (b >= 240) return static_cast<std::uint8_t>(b - 16);              // р..я
  if (b == 168) return 240;                                            // Ё
  if (b == 184) return 241;                                            // ё
  return b;
}

std::uint8_t lowcase(std::uint8_t b) {
  if (b >= 'A' && b <= 'Z') return static_cast<std::uint8_t>(b + 32);
  if (b >= 128 && b <= 143) return static_cast<std::uint8_t>(b + 32);  // А..П
  if (b >= 144 && b <= 159) return static_cast<std::uint8_t>(b + 80);  // Р..Я
  if (b == 240) return 241;                                            // Ё
  return b;
}

}  // namespace tindel
