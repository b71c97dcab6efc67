#include "UTypes/state/found_labels.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace tindel {

namespace {

// Names that share prefixes, lengths and the eight-byte blocks the hash reads, so slots meet.
std::string random_name(std::mt19937& random) {
  static const std::vector<std::string> stems = {"", "d", "room", "abcdefgh", "abcdefghi", "x:y"};
  std::string name = stems[random() % stems.size()];
  for (int n = static_cast<int>(random() % 12); n > 0; --n)
    name.push_back("ab:1\xe0"[random() % 5]);
  return name;
}

void expect_same(const FoundLabels& table, const std::unordered_map<std::string, bool>& model,
                 const std::vector<std::string>& probes) {
  for (const std::string& name : probes) {
    auto expected = model.find(name);
    std::optional<bool> found = table.find(name);
    if (expected == model.end()) {
      EXPECT_FALSE(found.has_value()) << name;
    } else {
      ASSERT_TRUE(found.has_value()) << name;
      EXPECT_EQ(*found, expected->second) << name;
    }
  }
  EXPECT_EQ(table.size(), model.size());
}

}  // namespace

// Gathered names (repeats among them), then answers noted and overwritten as the table grows
// past several sizes: every lookup answers as a plain map does.
TEST(FoundLabels, AnswersAsAPlainMapThroughGatheringAndGrowth) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    std::mt19937 random(seed);
    FoundLabels table;
    std::unordered_map<std::string, bool> model;
    std::vector<std::string> probes;
    for (int i = 0; i < 300 * static_cast<int>(seed); ++i) {
      probes.push_back(random_name(random));
      table.gather(probes.back());
      model[probes.back()] = true;
    }
    EXPECT_FALSE(table.gathered());
    table.mark_gathered();
    EXPECT_TRUE(table.gathered());
    for (int i = 0; i < 3000; ++i) {
      probes.push_back(random_name(random));
      bool found = random() % 2 == 0;
      table.note(probes.back(), found);
      model[probes.back()] = found;
    }
    for (int i = 0; i < 500; ++i)
      probes.push_back(random_name(random) + "~");  // never stored
    expect_same(table, model, probes);
  }
}

TEST(FoundLabels, NothingIsFoundInAnEmptyOrClearedTable) {
  FoundLabels table;
  EXPECT_FALSE(table.find("").has_value());
  table.mark_gathered();
  EXPECT_FALSE(table.find("a").has_value());
  table.gather("");
  table.mark_gathered();
  EXPECT_EQ(table.find(""), std::optional<bool>(true));
  table.note("b:c", false);
  table.clear();
  EXPECT_FALSE(table.gathered());
  EXPECT_EQ(table.size(), 0u);
  EXPECT_FALSE(table.find("").has_value());
  EXPECT_FALSE(table.find("b:c").has_value());
}

// A name as long as a whole line of a quest keeps every byte, the one it is cut from is apart.
TEST(FoundLabels, LongNamesAreKeptWhole) {
  FoundLabels table;
  std::string long_name(100000, 'q');
  table.gather(long_name);
  table.mark_gathered();
  table.note(long_name.substr(1), false);
  EXPECT_EQ(table.find(long_name), std::optional<bool>(true));
  EXPECT_EQ(table.find(long_name.substr(1)), std::optional<bool>(false));
  EXPECT_FALSE(table.find(long_name + "q").has_value());
}

}  // namespace tindel

namespace tindel {

// A table whose block of names is full says so when a gathered name does not fit, and keeps
// no answer it has no room for rather than a wrong one.
TEST(FoundLabels, ANameWithoutRoomIsNotKept) {
  FoundLabels table(24);  // two records of "abcdefg" (5 + 7 bytes each)
  table.gather("abcdefg");
  table.gather("abcdefh");
  EXPECT_FALSE(table.full());
  table.mark_gathered();
  table.note("x", false);
  EXPECT_FALSE(table.find("x").has_value());
  table.note("abcdefg", false);  // an answer in place needs no room
  EXPECT_EQ(table.find("abcdefg"), std::optional<bool>(false));
  table.gather("y");
  EXPECT_TRUE(table.full());
  table.clear();
  EXPECT_FALSE(table.full());
  table.gather(std::string(24, 'z'));
  EXPECT_TRUE(table.full());  // the limit outlives clear
}

}  // namespace tindel
