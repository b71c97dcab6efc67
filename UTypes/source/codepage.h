#pragma once
// The per-byte conversions between the quest file and the interpreter, which works in CP866.
#include <cstdint>

namespace tindel {

// ".qs1" decoding: bytes of 32 and above are stored as 287 minus their value (its own inverse).
std::uint8_t unqs1(std::uint8_t b);
// Windows-1251 Cyrillic letters to CP866; every other byte unchanged.
std::uint8_t wintodos(std::uint8_t b);
// CP866 lower-casing of Latin and Cyrillic letters.
std::uint8_t lowcase(std::uint8_t b);

}  // namespace tindel
