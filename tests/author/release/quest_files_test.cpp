// What a release takes along: the files the quest names by a constant, the numbered ones of
// the kinds it plays or shows by a computed number, nothing it does not use; a named file that
// is missing is told where it is named.
#include "author/release/quest_files.h"

#include <gtest/gtest.h>

#include "author/author_test_support.h"
#include "support/quest_harness.h"

namespace tindel::author {
namespace {

using testing::quest_text;
using testing::spot_of;

TEST(ReleaseQuestFiles, NamedAndNumberedFilesBesideTheQuest) {
  tindel::testing::TempDir dir;
  for (const char* name : {"2.mid", "5.mid", "door.wav", "7.jpg", "x.mid", "bell.wav", "notes.txt"})
    dir.write(name, "bytes");
  std::vector<std::string> lines = {":start",    "pln The tower at night.",
                                    "music = 2", "play door",
                                    "image = 3", "n = 5",
                                    "music = n", "image = n",
                                    "end"};
  dir.write("tower.qst", quest_text(lines));
  QuestFiles files = quest_files(dir.path() + "/tower.qst", dir.read("tower.qst"), 0);

  // 5.mid and 7.jpg for the computed numbers; not x.mid, bell.wav or notes.txt, which nothing
  // can name; 3.jpg is named but missing.
  EXPECT_EQ(files.media, (std::vector<std::string>{"2.mid", "5.mid", "7.jpg", "door.wav"}));
  EXPECT_TRUE(files.plays_music);
  EXPECT_EQ(files.quest_name, "tower.qst");
  EXPECT_EQ(files.first_text, "The tower at night.");
  ASSERT_EQ(files.missing.size(), 1u);
  testing::Spot at = spot_of(lines, "image = 3");
  EXPECT_EQ(files.missing[0].line, at.line);
  EXPECT_EQ(files.missing[0].column, at.column);
  EXPECT_EQ(files.missing[0].message, "file '3.jpg' is not beside the quest");
}

TEST(ReleaseQuestFiles, AQuestWithoutTunesTakesNoneAndNoSoundfont) {
  tindel::testing::TempDir dir;
  for (const char* name : {"1.mid", "4.mid", "1.jpg", "knock.wav"})
    dir.write(name, "bytes");
  // music = 0 only stops a tune: the numbered tunes beside stay out.
  std::string quest = quest_text({":start", "pln Quiet.", "play knock", "music = 0", "end"});
  dir.write("quiet.qst", quest);
  QuestFiles files = quest_files("quiet.qst", quest, 'w');
  EXPECT_EQ(files.media, std::vector<std::string>{"knock.wav"});
  EXPECT_FALSE(files.plays_music);
  EXPECT_TRUE(files.missing.empty());
}

}  // namespace
}  // namespace tindel::author
