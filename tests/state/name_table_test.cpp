#include "UTypes/state/name_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tindel {

// The packed first eight bytes must never make two different names equal, nor miss a match,
// whatever longer name the slot held before.
TEST(NameTable, FindsOnlyTheSameName) {
  const char* names[] = {"",          "$a",        "$ab",          "$abcdef",      "$abcdefg",
                         "$abcdefgh", "$abcdefgx", "%current_loc", "%current_lod", ";rope"};
  for (const char* a : names) {
    NameTable<2, 63> table;
    table[1] = std::string(40, 'z');  // a longer name stored before
    table[1] = a;
    for (const char* b : names) {
      table[0] = b;  // the sentinel
      EXPECT_EQ(table.find_below(2, NameProbe(b)) == 1, std::string_view(a) == b)
          << a << " / " << b;
    }
  }
}

TEST(NameTable, TheHighestMatchingSlotWins) {
  NameTable<6, 63> table;
  table[2] = "$x";
  table[4] = "$x";
  table[0] = "$x";
  EXPECT_EQ(table.find_below(6, NameProbe("$x")), 4);
  EXPECT_EQ(table.find_below(4, NameProbe("$x")), 2);
  EXPECT_EQ(table.find_below(2, NameProbe("$x")), 0);
  table[4].clear();
  EXPECT_EQ(table.find_below(6, NameProbe("$x")), 2);
}

TEST(NameTable, ANameIsCutToTheCapacityAndFoundByItsCutKey) {
  NameTable<2, 63> table;
  std::string long_key(70, 'k');
  table[1] = long_key;
  EXPECT_EQ(table[1].view(), long_key.substr(0, 63));
  table[0] = long_key.substr(0, 63);
  EXPECT_EQ(table.find_below(2, NameProbe(long_key.substr(0, 63))), 1);
}

}  // namespace tindel

namespace tindel {

// Random renames of the slots: the search always answers as a plain scan of the names does.
TEST(NameTable, AnswersAsAPlainScanAfterRandomRenames) {
  const std::vector<std::string> pool = {"",
                                         "$a",
                                         "$b",
                                         ";a",
                                         "%a",
                                         "$abcdefgh",
                                         "$abcdefgi",
                                         "x",
                                         "$styletextcolor",
                                         "$stylecursorcolor"};
  std::mt19937 random(7);
  NameTable<40, 63> table;
  std::vector<std::string> plain(40);
  for (int step = 0; step < 5000; ++step) {
    auto slot = 1 + random() % 39;
    const std::string& name = pool[random() % pool.size()];
    table[slot] = name;
    plain[slot] = name;
    const std::string& key = pool[random() % pool.size()];
    table[0] = key;
    int expected = 39;
    while (expected > 0 && plain[static_cast<std::size_t>(expected)] != key)
      --expected;
    ASSERT_EQ(table.find_below(40, NameProbe(key)), expected) << "step " << step;
  }
}

}  // namespace tindel

namespace tindel {

// Slots leave and join their chains in any order, names repeat and are cut: a search from any
// bound answers as the plain scan from that bound.
TEST(NameTable, AnySearchBoundAnswersAsAPlainScanWithRepeatedNames) {
  const std::vector<std::string> pool = {
      "", "$a", "$a", "%t", std::string(70, 'q'), std::string(63, 'q'), "$b"};
  std::mt19937 random(3);
  NameTable<64, 63> table;
  std::vector<std::string> plain(64);
  for (int step = 0; step < 20000; ++step) {
    auto slot = 1 + random() % 63;
    const std::string& name = pool[random() % pool.size()];
    table[slot] = name;
    plain[slot] = name.substr(0, 63);
    std::string key = pool[random() % pool.size()].substr(0, 63);
    table[0] = key;
    int below = 1 + static_cast<int>(random() % 64);
    int expected = below - 1;
    while (expected > 0 && plain[static_cast<std::size_t>(expected)] != key)
      --expected;
    ASSERT_EQ(table.find_below(below, NameProbe(key)), expected) << "step " << step;
  }
}

}  // namespace tindel
