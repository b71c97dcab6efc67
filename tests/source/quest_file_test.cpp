#include "UTypes/source/quest_file.h"

#include <gtest/gtest.h>

#include <filesystem>

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
  EXPECT_EQ(image->line_starts, (std::vector<std::uint32_t>{0, 4, 9, 11}));
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
  ASSERT_EQ(image->line_starts.size(), 1001u);
  for (std::size_t n = 0; n < image->line_starts.size(); ++n)
    EXPECT_EQ(image->line_starts[n], 2 * n) << n;
  dir.write("b.qst", "no line end at all");
  image = load_quest_image("b.qst");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->line_starts, (std::vector<std::uint32_t>{0}));
}

}  // namespace
}  // namespace tindel::testing
