#pragma once
// Reading a scripted console's screen back in tests: where a text stands, in which colours,
// and how often a text occurs in a transcript.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "UTypes/console/screen_model.h"

namespace tindel::testing {

struct ScreenSpot {
  int x = -1;
  int y = -1;
  bool found() const { return y >= 0; }
};

// The first place, row by row from the top, where `text` stands on the screen.
ScreenSpot find_on_screen(const ScreenModel& screen, std::string_view text);

// The attributes of the cells of the first place where `text` stands; empty when absent.
std::vector<std::uint8_t> attributes_of(const ScreenModel& screen, std::string_view text);

// How many times `needle` occurs in `haystack` (not overlapping).
int occurrences(std::string_view haystack, std::string_view needle);

// Quest lines "pln <prefix> 1" ... "pln <prefix> n", each ended by "\n".
std::string pln_lines(int n, std::string_view prefix = "line");

}  // namespace tindel::testing
