#include "UTypes/source/line_end_count.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tindel::testing {
namespace {

LineEndCounts counted_one_by_one(std::string_view bytes) {
  LineEndCounts counts;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    counts.crs += bytes[i] == '\r';
    counts.lfs += bytes[i] == '\n';
    counts.pairs += bytes[i] == '\n' && i > 0 && bytes[i - 1] == '\r';
  }
  return counts;
}

void expect_counts(std::string_view bytes) {
  LineEndCounts fast = count_line_ends(bytes), slow = counted_one_by_one(bytes);
  ASSERT_EQ(fast.crs, slow.crs) << ::testing::PrintToString(std::string(bytes));
  ASSERT_EQ(fast.lfs, slow.lfs) << ::testing::PrintToString(std::string(bytes));
  ASSERT_EQ(fast.pairs, slow.pairs) << ::testing::PrintToString(std::string(bytes));
}

// Every short length at every alignment, pairs across the eight-byte words, bytes one off
// the line ends (which a sloppy comparison mistakes for them) and long runs that fill the
// byte counters to their limit.
TEST(LineEndCount, AgreesWithCountingOneByOne) {
  std::mt19937 random(7);
  const char alphabet[] = {'\r', '\n', '\x0c', '\x0b', '\x0e', '\x8d', '\x8a', 'a', '\0'};
  std::string buffer;
  for (int round = 0; round < 4000; ++round) {
    std::size_t length = round < 3000 ? random() % 40 : random() % 9000;
    buffer.assign(length + 8, 'x');
    for (char& c : buffer)
      c = alphabet[random() % sizeof alphabet];
    expect_counts(std::string_view(buffer).substr(round % 8, length));
  }
  for (const char* unit : {"\r", "\n", "\r\n", "\n\r", "\r\r\n"}) {
    std::string run;
    while (run.size() < 20000)
      run += unit;
    expect_counts(run);
  }
}

}  // namespace
}  // namespace tindel::testing
