#pragma once
// Counting a quest's line-end bytes at memory speed, eight bytes at a time, so that loading a
// large quest costs little more than reading it.
#include <cstddef>
#include <string_view>

namespace tindel {

struct LineEndCounts {
  std::size_t crs = 0;
  std::size_t lfs = 0;
  std::size_t pairs = 0;  // CR immediately followed by LF
};

LineEndCounts count_line_ends(std::string_view bytes);

}  // namespace tindel
