#include "UTypes/state/short_string.h"

#include <gtest/gtest.h>

#include <string>

namespace tindel {

TEST(ShortString, KeepsTheFirstCharactersOfALongerValue) {
  ShortString<63> s(std::string(70, 'x') + "tail");
  EXPECT_EQ(s.size(), 63u);
  EXPECT_EQ(s.view(), std::string(63, 'x'));
  s = "short";
  EXPECT_EQ(s.view(), "short");
}

}  // namespace tindel
