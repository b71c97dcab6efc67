#pragma once
// Conversions of the quest language's doubles to the integers it needs.
#include <cmath>
#include <cstdint>
#include <limits>

namespace tindel {

// Truncates toward zero to 32 bits. Defined for every double: NaN gives 0 and values beyond
// the 32-bit range saturate (a plain cast would be undefined there).
inline std::int32_t to_int32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

// The low byte of a value truncated to an integer, as colours and character codes use it.
inline std::uint8_t low_byte(double v) {
  return static_cast<std::uint8_t>(static_cast<std::uint32_t>(to_int32(v)) & 0xFFu);
}

}  // namespace tindel
