// music, play and the picture assignment with recorded media calls; common and save.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "program/startup.h"
#include "support/quest_harness.h"
#include "support/table_probe.h"

namespace tindel::testing {

namespace {

using Calls = std::vector<std::string>;

// The calls as "what file"; a stop names no file.
Calls calls_of(const RecordingMedia& media) {
  Calls out;
  for (const auto& call : media.calls)
    out.push_back(call.what == "midi-stop" || call.what == "stop-all"
                      ? call.what
                      : call.what + " " + call.file);
  return out;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

struct MediaCase {
  const char* quest;
  std::vector<const char*> files;  // present in the current directory
  Calls calls;
  const char* echo;
};

TEST(DataMedia, StatementsCallThePlayersOnlyForFilesThatExist) {
  const MediaCase cases[] = {
      {"music = 2", {"2.mid"}, {"midi-start 2.mid"}, "music <2.mid>"},
      {"music = 1 + 1", {"2.mid"}, {"midi-start 2.mid"}, "music <2.mid>"},
      {"music = 3", {"2.mid"}, {}, "music <3.mid>"},
      {"music = 0", {"0.mid"}, {"midi-stop"}, "music <0.mid>"},
      {"music = 0 - 1", {}, {"midi-stop"}, "music <-1.mid>"},
      {"music = 2.9", {"2.mid"}, {"midi-start 2.mid"}, "music <2.mid>"},
      {"play door", {"door.wav"}, {"wave door.wav"}, "play <door.wav>"},
      {"play Big Door", {"Big Door.wav"}, {"wave Big Door.wav"}, "play <Big Door.wav>"},
      {"play door", {"door.mid"}, {}, "play <door.wav>"},
      {"play snd#2$", {"snd2.wav"}, {"wave snd2.wav"}, "play <snd2.wav>"},
      {"image = 4", {"4.jpg"}, {"image 4.jpg"}, "image <4.jpg>"},
      {"image = 5", {"4.jpg"}, {}, "image <5.jpg>"},
      {"image = 0", {"0.jpg"}, {}, "image <0.jpg>"},
      {"image = 0 - 3", {"-3.jpg"}, {}, "image <-3.jpg>"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    for (const char* file : c.files)
      dir.write(file, "data");
    QuestRun run = run_quest(dir, c.quest);
    EXPECT_EQ(run.status, 0) << c.quest;
    Calls expected = c.calls;
    expected.push_back("stop-all");  // the program's end silences everything
    EXPECT_EQ(calls_of(run.media), expected) << c.quest;
    EXPECT_TRUE(contains(run.output(), c.echo)) << c.quest << "\n" << run.output();
  }
}

TEST(DataMedia, OnlyRegularFilesArePlayed) {
  TempDir dir;
  ASSERT_EQ(::mkdir((dir.path() + "/4.jpg").c_str(), 0755), 0);
  ASSERT_EQ(::mkfifo((dir.path() + "/2.mid").c_str(), 0644), 0);  // opening it must not wait
  dir.write("a", "data");  // what a name cut at its NUL byte would open
  QuestRun run = run_quest(dir, "image = 4\nmusic = 2\nplay a##0$b\n");
  EXPECT_EQ(calls_of(run.media), Calls{"stop-all"});
  EXPECT_TRUE(contains(run.output(), "image <4.jpg>"));
  EXPECT_TRUE(contains(run.output(), "music <2.mid>"));
}

TEST(DataMedia, AMissingTuneLeavesThePlayingOneAlone) {
  TempDir dir;
  dir.write("2.mid", "tune");
  QuestRun run = run_quest(dir, "music = 2\nmusic = 3\nmusic = 0\n");
  EXPECT_EQ(calls_of(run.media), (Calls{"midi-start 2.mid", "midi-stop", "stop-all"}));
}

// The echo line: CR LF, line and column where the reader stands, the word, the file, CR LF.
struct EchoCase {
  const char* quest;
  const char* block;
};

TEST(DataMedia, EchoShowsWhereTheReaderStoodInEveryMode) {
  const EchoCase cases[] = {
      // After "2" the reader is past the "&" and its blank: column 12 of line 2.
      {"p a\nmusic = 2 & p b\n", "a\r\n2:12 music <2.mid>\r\nb"},
      // At a line end the scanner has already counted the next line.
      {"p a\nmusic = 2\np b\n", "a\r\n3:1 music <2.mid>\r\nb"},
      {"p a\nplay door\np b\n", "a\r\n3:0 play <door.wav>\r\nb"},
      {"image = 4 & p b", "\r\n1:12 image <4.jpg>\r\nb"},
      {"play door", "\r\n1:9 play <door.wav>\r\n"},
  };
  for (int level : {0, 1, 2}) {
    for (const auto& c : cases) {
      Interp it(c.quest, level);
      std::ofstream("2.mid") << "tune";
      std::ofstream("door.wav") << "sound";
      std::ofstream("4.jpg") << "picture";
      ASSERT_EQ(it.run_statements(), -1) << c.quest;
      EXPECT_EQ(block_text(it.s()), c.block) << "level " << level << ": " << c.quest;
      EXPECT_EQ(it.media().calls.empty(), level != 0) << "level " << level << ": " << c.quest;
    }
  }
}

TEST(DataMedia, ASyntaxCheckPlaysNothing) {
  for (const char* mode : {"2", "3", "4"}) {
    TempDir dir;
    for (const char* file : {"2.mid", "door.wav", "4.jpg"})
      dir.write(file, "data");
    QuestRun run = run_quest(dir, "music = 2\nplay door\nimage = 4\nmusic = 0\n",
                             {.args = {mode, "w", "quest.qst"}, .input = {}});
    EXPECT_EQ(run.status, 0) << mode;
    EXPECT_EQ(calls_of(run.media), Calls{"stop-all"}) << mode;
    EXPECT_TRUE(contains(run.output(), "syntax <quest.qst> is checked!")) << mode;
  }
}

TEST(DataCommon, AboveZeroChoosesTheCommonLocation) {
  const struct {
    const char* statement;
    const char* common;
  } cases[] = {{"common = 2", "common_2"},
               {"common = 0", "common"},
               {"common = 0 - 2", "common"},
               {"common = 1 + 1.9", "common_2"}};
  for (const auto& c : cases) {
    Interp it(c.statement);
    ASSERT_EQ(it.run_statements(), -1);
    EXPECT_EQ(it.s().common_name, c.common) << c.statement;
  }
}

TEST(DataCommon, TheChosenCommonLocationRunsAfterEveryChoice) {
  TempDir dir;
  QuestRun run = run_quest(dir,
                           "common = 2\n"
                           "btn room, Go\n"
                           "end\n"
                           ":room\n"
                           "pln in the room\n"
                           "end\n"
                           ":common\n"
                           "pln plain common\n"
                           "end\n"
                           ":common_2\n"
                           "pln second common\n"
                           "end\n",
                           {.input = [](ScriptedConsole& c) { c.add_key(13); }});
  EXPECT_TRUE(contains(run.output(), "second common\nin the room")) << run.output();
  EXPECT_FALSE(contains(run.output(), "plain common"));
}

TEST(DataSave, WritesTheLabelGivenOrTheCurrentOne) {
  const struct {
    const char* quest;
    const char* label;
  } cases[] = {
      {"save start", "start"},
      {"save Big Hall", "bighall"},
      {"save", ""},  // before any choice there is no current label
      {"btn room, Go\nend\n:room\nsave\ngoto stop\n:common\nend\n:stop", "room"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    QuestRun run = run_quest(dir, c.quest, {.input = [](ScriptedConsole& k) { k.add_key(13); }});
    ASSERT_TRUE(dir.exists("save.txt")) << c.quest;
    std::string file = dir.read("save.txt");
    EXPECT_TRUE(file.starts_with("Skein-save. ")) << file;
    EXPECT_TRUE(
        contains(file, std::string("\r\nquest.qst\r\ncommon\r\n") + c.label + "\r\n0 calls:"))
        << c.quest << "\n"
        << file;
  }
}

TEST(DataSave, ASaveWithoutLabelLeavesTheNextStatementCurrent) {
  TempDir dir;
  QuestRun run = run_quest(dir, "save & pln after\n");
  EXPECT_TRUE(dir.exists("save.txt"));
  EXPECT_TRUE(contains(run.output(), "after"));
}

TEST(DataSave, ACheckWritesNothing) {
  TempDir dir;
  QuestRun run =
      run_quest(dir, "save start\nsave\n", {.args = {"3", "w", "quest.qst"}, .input = {}});
  EXPECT_EQ(run.status, 0);
  EXPECT_FALSE(dir.exists("save.txt"));
}

}  // namespace tindel::testing

namespace tindel::testing {
namespace {

// A sound named in Cyrillic: the quest holds CP866, the file system names it in the locale's
// charset; the echo line keeps the quest's own bytes.
TEST(DataMedia, CyrillicNamesAreLookedForInTheLocaleCharset) {
  struct Case {
    CharsetKind charset;
    std::string on_disk;
  };
  const Case cases[] = {
      {CharsetKind::kUtf8, "ветер.wav"},
      {CharsetKind::kKoi8R, "\xD7\xC5\xD4\xC5\xD2.wav"},
      {CharsetKind::kCp866, "\xA2\xA5\xE2\xA5\xE0.wav"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.write(c.on_disk, "RIFF");
    InterpreterState state;
    ScriptedConsole console;
    RecordingMedia media;
    dir.write("q.qst", "play \xA2\xA5\xE2\xA5\xE0\r\nend\r\n");
    run_program(state, {"0", "d", "q.qst"}, {console, media, 1, Charset(c.charset)});
    ASSERT_FALSE(media.calls.empty()) << c.on_disk;
    EXPECT_EQ(media.calls[0].what + " " + media.calls[0].file, "wave " + c.on_disk);
    EXPECT_NE(console.transcript().find("play <\xA2\xA5\xE2\xA5\xE0.wav>"), std::string::npos);
  }
}

}  // namespace
}  // namespace tindel::testing
