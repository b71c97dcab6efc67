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

// Names around the length where a record's header grows, and one as long as a whole line of
// a quest: each keeps every byte and its own answer, overwritten in place too.
TEST(FoundLabels, LongNamesAreKeptWhole) {
  FoundLabels table;
  const std::size_t lengths[] = {126, 127, 128, 100000};
  for (std::size_t length : lengths)
    table.gather(std::string(length, 'q'));
  table.mark_gathered();
  table.note(std::string(127, 'q'), false);
  table.note(std::string(99999, 'q'), false);
  for (std::size_t length : lengths)
    EXPECT_EQ(table.find(std::string(length, 'q')), std::optional<bool>(length != 127)) << length;
  EXPECT_EQ(table.find(std::string(99999, 'q')), std::optional<bool>(false));
  EXPECT_FALSE(table.find(std::string(129, 'q')).has_value());
  EXPECT_EQ(table.size(), 5u);
}

}  // namespace tindel

namespace tindel {

// A table whose block of names is full says so when a gathered name does not fit, and keeps
// no answer it has no room for rather than a wrong one.
TEST(FoundLabels, ANameWithoutRoomIsNotKept) {
  FoundLabels table(20);  // room for two records of seven letters, and no more
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
