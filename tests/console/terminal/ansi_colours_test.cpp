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

TEST(AnsiColours, NoColorKeepsTheHighlightVisible) {
  AnsiColours plain(true);
  EXPECT_EQ(plain.sgr(7), "\x1b[0m");
  EXPECT_EQ(plain.sgr(14), "\x1b[0m");     // foreground colours are dropped
  EXPECT_EQ(plain.sgr(126), "\x1b[0;7m");  // a background: reverse video instead
  EXPECT_EQ(plain.sgr(0x10), "\x1b[0;7m");
  EXPECT_TRUE(plain.reversed(126));
  EXPECT_FALSE(plain.reversed(7));
  EXPECT_FALSE(AnsiColours(false).reversed(126));
}

}  // namespace
}  // namespace tindel
