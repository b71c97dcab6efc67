#include "UTypes/console/terminal/ansi_colours.h"

#include <gtest/gtest.h>

#include <vector>

namespace tindel {
namespace {

TEST(AnsiColours, AttributesAsSgr) {
  struct Case {
    std::uint8_t attr;
    const char* sgr;
  };
  const std::vector<Case> cases = {
      {7, "\x1b[0;37;40m"},      // light grey on black
      {126, "\x1b[0;93;47m"},    // the highlighted menu entry: yellow on light grey
      {30, "\x1b[0;93;44m"},     // yellow on blue
      {0x01, "\x1b[0;34;40m"},   // Windows bit 0 is blue
      {0x04, "\x1b[0;31;40m"},   // bit 2 is red
      {0x03, "\x1b[0;36;40m"},   // blue + green = cyan
      {0x0C, "\x1b[0;91;40m"},   // bright red
      {0xF0, "\x1b[0;30;107m"},  // black on bright white
  };
  AnsiColours colours(false);
  for (const auto& c : cases)
    EXPECT_EQ(colours.sgr(c.attr), c.sgr) << int{c.attr};
}

// Under NO_COLOR no colour goes out, and the highlight alone is in reverse video: the quest's
// colours decide nothing, so a highlight on black, or on the background of the other
// entries, shows as well.
TEST(AnsiColours, NoColorReversesTheHighlightAlone) {
  AnsiColours plain(true);
  for (int attr : {7, 14, 10, 0, 126, 0x10, 0x70}) {
    const auto a = static_cast<std::uint8_t>(attr);
    EXPECT_EQ(plain.sgr(a), "\x1b[0m") << attr;
    EXPECT_EQ(plain.sgr(a, true), "\x1b[0;7m") << attr;
  }
  EXPECT_TRUE(plain.erase_shows(false));
  EXPECT_FALSE(plain.erase_shows(true));
  AnsiColours colours(false);
  EXPECT_EQ(colours.sgr(126, true), colours.sgr(126)) << "in colour the quest's colours show it";
  EXPECT_TRUE(colours.erase_shows(true));
}

}  // namespace
}  // namespace tindel
