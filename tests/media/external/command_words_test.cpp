#include "UTypes/media/external/command_words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tindel {

using Words = std::vector<std::string>;

TEST(MediaCommandWords, BlanksAndTabsSeparateWords) {
  EXPECT_EQ(split_command_words("timidity -idqq"), (Words{"timidity", "-idqq"}));
  EXPECT_EQ(split_command_words("  a \t b  "), (Words{"a", "b"}));
  EXPECT_EQ(split_command_words(""), Words{});
  EXPECT_EQ(split_command_words(" \t "), Words{});
}

TEST(MediaCommandWords, QuotesKeepBlanksAndJoinTheirNeighbours) {
  EXPECT_EQ(split_command_words("'/opt/my player' -x"), (Words{"/opt/my player", "-x"}));
  EXPECT_EQ(split_command_words("play \"two  words\""), (Words{"play", "two  words"}));
  EXPECT_EQ(split_command_words("a'b c'd"), (Words{"ab cd"}));
  EXPECT_EQ(split_command_words("x '' y"), (Words{"x", "", "y"}));
  EXPECT_EQ(split_command_words("say \"it's\" 'a \"b\"'"), (Words{"say", "it's", "a \"b\""}));
}

TEST(MediaCommandWords, BackslashesEscapeOutsideQuotesAndSomeInsideDoubleQuotes) {
  EXPECT_EQ(split_command_words("my\\ player"), (Words{"my player"}));
  EXPECT_EQ(split_command_words(R"("a \"b\" \\ \n")"), (Words{R"(a "b" \ \n)"}));
  EXPECT_EQ(split_command_words(R"('a\b')"), (Words{R"(a\b)"}));
  EXPECT_EQ(split_command_words("end\\"), (Words{"end\\"}));
}

TEST(MediaCommandWords, AnUnclosedQuoteRunsToTheEnd) {
  EXPECT_EQ(split_command_words("a 'b c"), (Words{"a", "b c"}));
  EXPECT_EQ(split_command_words("a \"b c"), (Words{"a", "b c"}));
}

}  // namespace tindel
