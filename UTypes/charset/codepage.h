#pragma once
// The per-byte conversions between the quest file and the interpreter, which works in CP866,
// and the same conversions as tables for the scanner's inner loop.
#include <array>
#include <cstdint>

namespace tindel {

// ".qs1" decoding: bytes of 32 and above are stored as 287 minus their value (its own inverse).
constexpr std::uint8_t unqs1(std::uint8_t b) {
  return b >= 32 ? static_cast<std::uint8_t>(287 - b) : b;
}

// Windows-1251 Cyrillic letters to CP866; every other byte unchanged.
constexpr std::uint8_t wintodos(std::uint8_t b) {
  if (b >= 192 && b <= 239) return static_cast<std::uint8_t>(b - 64);  // А..Я, а..п
  if (b >= 240) return static_cast<std::uint8_t>(b - 16);              // р..я
  if (b == 168) return 240;                                            // Ё
  if (b == 184) return 241;                                            // ё
  return b;
}

// CP866 lower-casing of Latin and Cyrillic letters.
constexpr std::uint8_t lowcase(std::uint8_t b) {
  if (b >= 'A' && b <= 'Z') return static_cast<std::uint8_t>(b + 32);
  if (b >= 128 && b <= 143) return static_cast<std::uint8_t>(b + 32);  // А..П
  if (b >= 144 && b <= 159) return static_cast<std::uint8_t>(b + 80);  // Р..Я
  if (b == 240) return 241;                                            // Ё
  return b;
}

using ByteMap = std::array<std::uint8_t, 256>;

// The decoding of a quest byte: ".qs1" first (when qs1), then the code page (when w).
constexpr ByteMap decoding_map(bool qs1, bool codepage_w) {
  ByteMap map{};
  for (int b = 0; b < 256; ++b) {
    auto c = static_cast<std::uint8_t>(b);
    if (qs1) c = unqs1(c);
    if (codepage_w) c = wintodos(c);
    map[static_cast<std::size_t>(b)] = c;
  }
  return map;
}

// The four decodings, indexed by decoding_index(qs1, codepage_w).
inline constexpr std::array<ByteMap, 4> kDecodingMaps = {
    decoding_map(false, false), decoding_map(false, true), decoding_map(true, false),
    decoding_map(true, true)};

constexpr std::size_t decoding_index(bool qs1, bool codepage_w) {
  return (qs1 ? 2u : 0u) + (codepage_w ? 1u : 0u);
}

}  // namespace tindel
