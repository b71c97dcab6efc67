#include "UTypes/source/quest_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "program/startup.h"
#include "support/quest_harness.h"

namespace tindel::testing {
namespace {

TEST(QuestFile, CtrlZEndsTheQuestThere) {
  TempDir dir;
  QuestRun run = run_quest(dir, "pln one\n\x1Apln two\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output().find("one"), std::string::npos) << run.output();
  EXPECT_EQ(run.output().find("two"), std::string::npos) << run.output();
}

TEST(QuestFile, MissingOrDirectoryQuestIsNotFound) {
  for (bool as_directory : {false, true}) {
    TempDir dir;
    if (as_directory) std::filesystem::create_directory(dir.path() + "/room.qst");
    InterpreterState state;
    ScriptedConsole console;
    RecordingMedia media;
    RunResult result = run_program(state, {"0", "w", "room.qst"}, {console, media, 1});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(console.transcript().find("\nfile <room.qst> not found\n"), std::string::npos)
        << console.transcript();
  }
}

TEST(QuestFile, LineStartsFollowCrLfAndStopAtCtrlZ) {
  TempDir dir;
  dir.write("a.qst", "ab\r\nc\nd\r\n\r\nx\x1Ay\r\nz");
  auto image = load_quest_image("a.qst");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->end, 12u);
  EXPECT_TRUE(image->clean_line_ends);
  EXPECT_EQ(image->line_starts(), (std::vector<std::uint32_t>{0, 4, 9, 11}));
}

TEST(QuestFile, CrWithoutLfMakesTheLineIndexUnusable) {
  TempDir dir;
  for (const char* bytes : {"a\r\nb\rc\r\n", "a\r\nb\r"}) {
    dir.write("a.qst", bytes);
    auto image = load_quest_image("a.qst");
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->clean_line_ends) << bytes;
  }
}

std::string read_through(QuestFile& file) {
  std::string read;
  while (!file.at_end())
    read += static_cast<char>(file.read_byte());
  return read;
}

// Reopening costs no look at the disk; after a recheck it reads a changed file again, once.
TEST(QuestFile, ReopeningReadsAChangedFileAgainOnlyAfterARecheck) {
  TempDir dir;
  dir.write("a.qst", "first");
  QuestFile file;
  ASSERT_TRUE(file.open("a.qst"));
  dir.write("a.qst", "second text");
  ASSERT_TRUE(file.open("a.qst"));
  EXPECT_EQ(read_through(file), "first");
  file.recheck_disk();
  ASSERT_TRUE(file.open("a.qst"));
  EXPECT_EQ(read_through(file), "second text");
  std::uint64_t version = file.image()->version;
  file.recheck_disk();
  ASSERT_TRUE(file.open("a.qst"));  // unchanged on disk: the same image
  EXPECT_EQ(file.image()->version, version);
  std::filesystem::remove("a.qst");
  ASSERT_TRUE(file.open("a.qst"));  // gone, but nothing asked to look
  file.recheck_disk();
  EXPECT_FALSE(file.open("a.qst"));
}

// The index counts lines first: a quest of only line ends, and one without any.
TEST(QuestFile, LineStartsOfQuestsWithoutTextOrWithoutLineEnds) {
  TempDir dir;
  std::string ends;
  for (int i = 0; i < 1000; ++i)
    ends += "\r\n";
  dir.write("a.qst", ends);
  auto image = load_quest_image("a.qst");
  ASSERT_NE(image, nullptr);
  ASSERT_TRUE(image->clean_line_ends);
  ASSERT_EQ(image->line_starts().size(), 1001u);
  for (std::size_t n = 0; n < image->line_starts().size(); ++n)
    EXPECT_EQ(image->line_starts()[n], 2 * n) << n;
  dir.write("b.qst", "no line end at all");
  image = load_quest_image("b.qst");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->line_starts(), (std::vector<std::uint32_t>{0}));
}

// What the image says of its line ends, worked out the slow way, byte by byte.
struct LineEndFacts {
  bool clean = true;
  std::int32_t lone_lf_line = 0;
  std::vector<std::uint32_t> starts{0};
};

LineEndFacts line_end_facts(const std::string& bytes, std::size_t end) {
  LineEndFacts facts;
  std::int32_t line = 1;
  for (std::size_t i = 0; i < end; ++i) {
    if (bytes[i] == '\r' && !(i + 1 < end && bytes[i + 1] == '\n')) facts.clean = false;
    if (bytes[i] == '\r') facts.starts.push_back(static_cast<std::uint32_t>(i + 2));
    if (bytes[i] != '\n') continue;
    if (facts.lone_lf_line == 0 && (i == 0 || bytes[i - 1] != '\r')) facts.lone_lf_line = line;
    ++line;
  }
  if (!facts.clean) facts.starts.clear();
  return facts;
}

// Random quests of line ends, lone CRs and LFs, end markers and text, of every short length
// and some long ones (the counting runs in blocks): the image agrees with the slow reading.
TEST(QuestFile, LineEndChecksAgreeWithAReadingByteByByte) {
  std::mt19937 random(12);
  const char alphabet[] = {'a', '\r', '\n', '\r', '\n', '\x1a', ' '};
  for (int round = 0; round < 3000; ++round) {
    std::size_t length = round < 2000 ? random() % 12 : random() % 3000;
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i)
      bytes +=
          (round % 3 == 0 && random() % 4 != 0) ? "\r\n" : std::string(1, alphabet[random() % 7]);
    if (round % 5 == 0) bytes.erase(std::remove(bytes.begin(), bytes.end(), '\x1a'), bytes.end());
    std::string stored = bytes;
    if (bytes.find('\r') == std::string::npos) add_cr_to_lone_line_ends(stored);
    auto image = quest_image_from_bytes(bytes);
    LineEndFacts facts = line_end_facts(stored, image->end);
    ASSERT_EQ(image->clean_line_ends, facts.clean) << ::testing::PrintToString(bytes);
    ASSERT_EQ(image->lone_lf_line, facts.lone_lf_line) << ::testing::PrintToString(bytes);
    ASSERT_EQ(image->line_starts(), facts.starts) << ::testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace tindel::testing
