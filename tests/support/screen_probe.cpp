#include "support/screen_probe.h"

namespace tindel::testing {

ScreenSpot find_on_screen(const ScreenModel& screen, std::string_view text) {
  for (int y = 0; y < screen.height(); ++y) {
    std::size_t x = screen.row_text(y).find(text);
    if (x != std::string::npos) return {static_cast<int>(x), y};
  }
  return {};
}

std::vector<std::uint8_t> attributes_of(const ScreenModel& screen, std::string_view text) {
  std::vector<std::uint8_t> attrs;
  ScreenSpot spot = find_on_screen(screen, text);
  if (!spot.found()) return attrs;
  for (std::size_t i = 0; i < text.size(); ++i)
    attrs.push_back(screen.at(spot.x + static_cast<int>(i), spot.y).attr);
  return attrs;
}

int occurrences(std::string_view haystack, std::string_view needle) {
  int count = 0;
  if (needle.empty()) return count;
  for (std::size_t at = haystack.find(needle); at != std::string_view::npos;
       at = haystack.find(needle, at + needle.size()))
    ++count;
  return count;
}

std::string pln_lines(int n, std::string_view prefix) {
  std::string quest;
  for (int i = 1; i <= n; ++i)
    quest += "pln " + std::string(prefix) + " " + std::to_string(i) + "\n";
  return quest;
}

}  // namespace tindel::testing
