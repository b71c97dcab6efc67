// Resuming a saved game (modes 1 and 6): what is loaded, what is refused, and how a damaged
// file ends the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "UTypes/saves/savegame.h"
#include "support/quest_harness.h"
#include "support/raw_console.h"
#include "support/save_text.h"
#include "support/scripted_player.h"

namespace tindel::testing {

namespace {

const char* const kKeyQuest =
    ":start\n"
    "pln At the start\n"
    "btn room, Go\n"
    "end\n"
    ":room\n"
    "inv + key\n"
    "pln Keys #inv_key$\n"
    "btn start, Back\n"
    "end\n"
    ":common\n"
    "end\n";

SaveText one_key_in_room() {
  SaveText save;
  save.label = "room";
  save.slots[741] = "1.000 ;key";
  return save;
}

RawRun resume(const TempDir& dir, const std::string& save_file, const std::string& mode = "1") {
  dir.write("save.txt", save_file);
  return run_raw(dir, kKeyQuest, {.args = {mode, "w", "quest.qst"}, .input = quit_at_menu});
}

bool shows(const RawRun& run, const std::string& text) {
  return run.console->transcript().find(text) != std::string::npos;
}

}  // namespace

TEST(LoadGame, ResumesAtTheSavedLabelAndRunsItsStatementsAgain) {
  for (const char* mode : {"1", "6"}) {
    TempDir dir;
    RawRun run = resume(dir, one_key_in_room().text(), mode);
    EXPECT_EQ(run.status, 0) << run.note;  // the player's Escape at the menu
    EXPECT_TRUE(shows(run, "Keys 2")) << run.console->transcript();
    EXPECT_FALSE(shows(run, "At the start"));
    EXPECT_FALSE(shows(run, "warning"));
  }
}

TEST(LoadGame, ValuesEditedByHandAreLoaded) {
  struct Case {
    const char* slot_line;
    const char* shown;
  } cases[] = {
      {"41.000 ;key", "Keys 42"},    {"41 ;key", "Keys 42"},
      {"   41.000 ;key", "Keys 42"},  // leading blanks are skipped
      {"-1.000 ;key", "Keys 0"},     {"0.000 ;key", "Keys 1"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    SaveText save = one_key_in_room();
    save.slots[741] = c.slot_line;
    RawRun run = resume(dir, save.text());
    EXPECT_TRUE(shows(run, c.shown)) << c.slot_line << "\n" << run.console->transcript();
  }
}

TEST(LoadGame, AMissingEofLineIsOnlyAWarning) {
  for (const char* last : {"", "EOF", "eof.", "end"}) {
    TempDir dir;
    std::vector<std::string> lines = one_key_in_room().lines();
    lines.pop_back();
    if (*last) lines.push_back(last);
    RawRun run = resume(dir, crlf_lines(lines));
    std::string screen = run.console->transcript();
    auto warned = screen.find("warning: \"eof\" not found.\n");
    ASSERT_NE(warned, std::string::npos) << screen;
    EXPECT_NE(screen.find("Keys 2", warned), std::string::npos) << "play goes on";
  }
}

TEST(LoadGame, ASaveOfAnotherQuestIsRefused) {
  for (const char* stored : {"other.qst", "Quest.qst", "quest.qst "}) {
    TempDir dir;
    SaveText save = one_key_in_room();
    save.quest = stored;
    RawRun run = resume(dir, save.text());
    std::string error =
        std::string("Error: QUEST NAME: <quest.qst> ? <") + stored + ">  (STR:1,POS:1,TOKEN:?)";
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.last_write(), "<quest.qst> \r\n" + error + "\r\n<press enter>");
    SaveText debug;  // nothing was loaded: the table of start-up, no label
    debug.header = error;
    debug.label = "";
    EXPECT_EQ(dir.read("debug.txt"), debug.text());
    EXPECT_FALSE(shows(run, "Keys"));
  }
}

TEST(LoadGame, WithoutASavedGameTheResumeHasNoLabel) {
  for (const char* mode : {"1", "6"}) {
    TempDir dir;
    RawRun run = run_raw(dir, kKeyQuest, {.args = {mode, "w", "quest.qst"}, .input = quit_at_menu});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.last_write().find("\r\nError: [gotolabel] LABELNAME expected  (STR:"),
              std::string::npos)
        << run.last_write();
  }
}

TEST(LoadGame, AnEmptySavedLabelCannotBeResumed) {
  TempDir dir;
  SaveText save = one_key_in_room();
  save.label = "";
  RawRun run = resume(dir, save.text());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.last_write().find("[gotolabel] LABELNAME expected"), std::string::npos);
}

TEST(LoadGame, DamagedFilesEndWithAnInputOutputFailureNamingTheLine) {
  struct Case {
    const char* what;
    std::function<void(std::vector<std::string>&)> damage;
    int line;
  } cases[] = {
      {"depth above 1025", [](auto& l) { l[4] = "1026 calls:"; }, 5},
      {"depth not a number", [](auto& l) { l[4] = "two calls:"; }, 5},
      {"negative depth", [](auto& l) { l[4] = "-1 calls:"; }, 5},
      {"slot count above 750", [](auto& l) { l[5] = "751 vars:"; }, 6},
      {"slot count far above", [](auto& l) { l[5] = "99999999999999999999 vars:"; }, 6},
      {"value not a number", [](auto& l) { l[6 + 741] = "many ;key"; }, 748},
      {"empty slot line", [](auto& l) { l[6 + 3] = ""; }, 10},
      {"ends after slot 99", [](auto& l) { l.resize(6 + 100); }, 107},
      {"ends after the header", [](auto& l) { l.resize(1); }, 2},
      {"ends before the slot count", [](auto& l) { l.resize(5); }, 6},
  };
  for (const Case& c : cases) {
    TempDir dir;
    std::vector<std::string> lines = one_key_in_room().lines();
    c.damage(lines);
    RawRun run = resume(dir, crlf_lines(lines));
    EXPECT_EQ(run.status, 2) << c.what;
    EXPECT_NE(run.note.find("save.txt"), std::string::npos) << c.what << ": " << run.note;
    EXPECT_NE(run.note.find("line " + std::to_string(c.line) + ":"), std::string::npos)
        << c.what << ": " << run.note;
    EXPECT_EQ(run.note.find('\n'), std::string::npos) << "one line";
    EXPECT_FALSE(shows(run, "Keys")) << c.what;
  }
}

TEST(LoadGame, ASaveThatCannotBeReadIsAFailure) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() + "/save.txt");
  RawRun run = run_raw(dir, kKeyQuest, {.args = {"1", "w", "quest.qst"}, .input = quit_at_menu});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.note.find("save.txt: line 1: cannot be read"), std::string::npos) << run.note;
}

TEST(LoadGame, ACallStackEntryThatIsNotANumberIsAFailure) {
  TempDir dir;
  SaveText save = one_key_in_room();
  save.calls = {11, 11};
  std::vector<std::string> lines = save.lines();
  lines[6] = "eleven";
  RawRun run = resume(dir, crlf_lines(lines));
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.note.find("save.txt: line 7:"), std::string::npos) << run.note;
}

TEST(LoadGame, TheDeepestCallStackFits) {
  TempDir dir;
  SaveText save = one_key_in_room();
  save.calls.assign(1025, 11);  // every return lands on the common location's `end`
  RawRun run = resume(dir, save.text());
  EXPECT_EQ(run.status, 0) << run.note;
  EXPECT_TRUE(shows(run, "Keys 2"));
  EXPECT_EQ(run.state->call_depth, 0) << "each `end` returned once";
}

TEST(LoadGame, AGameSavedInsideAProcedureResumesWithTheCallOpen) {
  const char* quest =
      ":start\n"
      "btn room, Go\n"
      "end\n"
      ":room\n"
      "pln Room visit #room$\n"
      "btn start, Back\n"
      "end\n"
      ":common\n"
      "inv + coin\n"
      "save\n"
      "end\n";
  TempDir dir;
  RawRun first = run_raw(dir, quest, {.args = {"0", "w", "quest.qst"}, .input = choose_then_quit});
  ASSERT_EQ(first.status, 0) << first.note;
  std::vector<std::string> saved = split_crlf(dir.read("save.txt"));
  ASSERT_GT(saved.size(), 6u);
  EXPECT_EQ(saved[3], "room");
  EXPECT_EQ(saved[4], "1 calls:");
  EXPECT_EQ(saved[5], "5");  // the line after ":room"

  RawRun again = run_raw(dir, quest, {.args = {"1", "w", "quest.qst"}, .input = quit_at_menu});
  std::string screen = again.console->transcript();
  auto first_visit = screen.find("Room visit 2");
  ASSERT_NE(first_visit, std::string::npos) << screen;
  EXPECT_NE(screen.find("Room visit 2", first_visit + 1), std::string::npos)
      << "the first `end` returned to line 5\n"
      << screen;
  EXPECT_FALSE(shows(again, "Room visit 3"));
}

TEST(LoadGame, ADebugFileResumesLikeASavedGame) {
  TempDir dir;
  RawRun first =
      run_raw(dir, kKeyQuest, {.args = {"0", "w", "quest.qst"}, .input = choose_then_quit});
  ASSERT_NE(first.last_write().find("[menu] ESC"), std::string::npos);
  dir.write("save.txt", dir.read("debug.txt"));
  RawRun again = run_raw(dir, kKeyQuest, {.args = {"1", "w", "quest.qst"}, .input = quit_at_menu});
  EXPECT_TRUE(shows(again, "Keys 2")) << again.console->transcript();
  EXPECT_FALSE(shows(again, "At the start"));
}

TEST(LoadGame, NothingIsReadInASyntaxCheck) {
  TempDir dir;
  dir.write("save.txt", one_key_in_room().text());
  Interp in("end\n", 1);
  double before = in.s().var_values[741];
  loadgame(in.s(), dir.path() + "/save.txt");
  EXPECT_EQ(in.s().var_values[741], before);
  EXPECT_EQ(in.s().current_label, "");
}

}  // namespace tindel::testing
