// Back and restart played as a player would, on the bundled quest and on small quests: each
// run with Back or Ctrl+R is compared with a run that never used them.
#include "UTypes/moments/play_control.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "UTypes/moments/moment_history.h"
#include "UTypes/moments/moments_file.h"
#include "support/quest_harness.h"

namespace tindel::testing {
namespace {

constexpr std::uint8_t kBack = key::kBackspace;
constexpr std::uint8_t kRestart = key::kCtrlR;
constexpr std::uint8_t kEnter = key::kEnter;

std::string bundled_quest() {
  std::ifstream in(std::string(TINDEL_SOURCE_DIR) + "/examples/stackle.qst", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The bundled quest's opening: a key, the player's name, then the first menu. The name is
// there for a second opening after a restart.
void opening(ScriptedConsole& c) {
  c.add_key(' ');
  c.add_line("Ann");
  c.add_line("Ann");
}

struct Play {
  std::string quest;
  std::vector<std::uint8_t> keys;
  bool back_keys = true;
  MomentOptions file = {};                     // the file of moments: kept, continued from, offered
  std::optional<std::uint8_t> title_key = {};  // the answer to the title line's question
  const TempDir* folder = nullptr;             // where the quest lies; a new one when none
};

// Plays until the keys run out, at the menu that waits for the next one.
QuestRun play(const Play& p) {
  std::optional<TempDir> own;
  const TempDir& dir = p.folder ? *p.folder : own.emplace();
  RunOptions options;
  options.args = {"0", "w", "quest.qst"};
  options.convert_line_ends = false;
  options.moments = p.file;
  options.moments.back_keys = p.back_keys;
  bool bundled = p.quest.empty();
  options.input = [&](ScriptedConsole& c) {
    if (p.title_key) c.add_key(*p.title_key);
    if (bundled) opening(c);
    for (std::uint8_t k : p.keys)
      c.add_key(k);
  };
  return run_quest(dir, bundled ? bundled_quest() : crlf(p.quest), options);
}

std::vector<std::string> rows(const QuestRun& run) {
  std::vector<std::string> out;
  const ScreenModel& screen = run.console->screen();
  for (int y = 0; y < screen.height(); ++y)
    out.push_back(screen.row_text(y));
  return out;
}

// The same menu: the screen, the variables, the buttons, the random generator.
void expect_same_menu(const QuestRun& a, const QuestRun& b) {
  ASSERT_EQ(a.note, "tindel: input ended");
  ASSERT_EQ(b.note, "tindel: input ended");
  EXPECT_EQ(rows(a), rows(b));
  EXPECT_EQ(a.console->screen().cursor_y(), b.console->screen().cursor_y());
  for (std::size_t i = 0; i < kVarSlots; ++i) {
    EXPECT_EQ(a.state->var_names[i].view(), b.state->var_names[i].view()) << "slot " << i;
    EXPECT_EQ(a.state->var_values[i], b.state->var_values[i]) << "slot " << i;
  }
  EXPECT_EQ(a.state->btn_count, b.state->btn_count);
  EXPECT_EQ(a.state->current_label, b.state->current_label);
  EXPECT_TRUE(a.state->random == b.state->random);
}

// Step out (the shore draws rnd), knock, take the matches.
const std::vector<std::uint8_t> kThreeChoices = {kEnter, kEnter, key::kDown, kEnter};

TEST(BackTest, TwiceAfterThreeChoicesIsTheMenuAfterTheFirst) {
  std::vector<std::uint8_t> keys = kThreeChoices;
  keys.insert(keys.end(), {kBack, kBack});
  expect_same_menu(play({{}, keys}), play({{}, {kEnter}}));
}

TEST(BackTest, ChoosingAgainDrawsTheSameNumbers) {
  // Back to the start's menu, then out to the shore again: its rnd gives what it gave.
  std::vector<std::uint8_t> keys = {kEnter, kEnter, kBack,      kBack,
                                    kEnter, kEnter, key::kDown, kEnter};
  expect_same_menu(play({{}, keys}), play({{}, kThreeChoices}));
}

TEST(BackTest, AtTheFirstMenuDoesNothing) {
  expect_same_menu(play({{}, {kBack, kBack, kEnter}}), play({{}, {kEnter}}));
}

TEST(BackTest, NoBackLeavesBothKeysWithoutEffect) {
  std::vector<std::uint8_t> keys = {kEnter, kBack, kRestart, kEnter};
  QuestRun off = play({{}, keys, false});
  // Ctrl+R asked nothing, so its Enter took the shore's first button: the cottage.
  expect_same_menu(off, play({{}, {kEnter, kEnter}}));
}

TEST(RestartTest, EnterBeginsAsAFreshStart) {
  std::vector<std::uint8_t> keys = kThreeChoices;
  keys.insert(keys.end(), {kRestart, kEnter, ' ', kEnter});
  QuestRun restarted = play({{}, keys});
  EXPECT_EQ(restarted.screen().find("Restart the quest"), std::string::npos);
  expect_same_menu(restarted, play({{}, {kEnter}}));
}

TEST(RestartTest, AnotherKeyCancelsAndTheScreenIsAsBefore) {
  std::vector<std::uint8_t> keys = kThreeChoices;
  keys.insert(keys.end(), {kRestart, key::kEscape});
  QuestRun cancelled = play({{}, keys});
  EXPECT_EQ(cancelled.screen().find("Restart the quest"), std::string::npos);
  expect_same_menu(cancelled, play({{}, kThreeChoices}));
}

TEST(RestartTest, TheQuestionIsOnTheBottomRow) {
  std::vector<std::uint8_t> keys = {kEnter, kRestart};
  QuestRun asking = play({{}, keys});
  EXPECT_EQ(rows(asking).back().rfind("Restart the quest from the beginning?", 0), 0u);
}

// A use action's pause waits at call depth 1: its keys are the action's, never Back's.
constexpr const char* kUseQuest = R"(:start
inv + lamp
pln At the start.
btn next, Go on
end
:next
pln Next.
btn start, Again
end
:common
end
:use_lamp_rub
pln Rubbed.
pause 100
end
)";

TEST(BackTest, InsideAUseActionDoesNothing) {
  QuestRun with_back = play({kUseQuest, {kEnter, 'u', key::kDown, kEnter, kBack}});
  QuestRun without = play({kUseQuest, {kEnter, 'u', key::kDown, kEnter}});
  EXPECT_NE(with_back.screen().find("Rubbed."), std::string::npos);
  expect_same_menu(with_back, without);
}

// Games that keep their file of moments in a state folder of their own.
class ContinueTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_STATE_HOME", state_.path().c_str(), 1); }
  void TearDown() override { unsetenv("XDG_STATE_HOME"); }
  TempDir state_;
  TempDir quest_;  // one quest file, so one file of moments
};

TEST_F(ContinueTest, TheTitleLinesEnterContinuesAtTheMenuLeftAndAnotherKeyBeginsAnew) {
  const MomentOptions offered{.keep_file = true, .offer_continue = true};
  QuestRun left = play({{}, kThreeChoices, true, {.keep_file = true}, {}, &quest_});
  QuestRun continued = play({{}, {}, true, offered, kEnter, &quest_});
  EXPECT_EQ(continued.screen().find("Press any key to begin."), std::string::npos);
  expect_same_menu(continued, left);

  // The continued game's history begins at its menu: Back there does nothing.
  expect_same_menu(play({{}, {kBack}, true, offered, kEnter, &quest_}), left);

  QuestRun anew = play({{}, {kEnter}, true, offered, key::kEscape, &quest_});
  EXPECT_NE(anew.screen().find("Continue where you left off?"), std::string::npos);
  expect_same_menu(anew, play({{}, {kEnter}}));
}

// The page starts a fresh interpreter for Back, with the history the last one handed out.
TEST_F(ContinueTest, AHistoryHandedOnWaitsAtItsNewestMenuAndBackGoesOnThroughTheRest) {
  const std::string file = state_.path() + "/left-off.moment";
  const MomentOptions kept{.keep_file = true, .file = file};
  std::vector<QuestRun> menus;
  std::vector<Moment> moments;
  MomentHistory history;
  for (long choices : {0, 1, 2}) {
    std::vector<std::uint8_t> keys(kThreeChoices.begin(), kThreeChoices.begin() + choices);
    menus.push_back(play({{}, keys, true, kept, {}, &quest_}));
    auto in_file =
        moment_in_file_bytes(read_moments_file(file).value_or(""),
                             quest_identity(menus.back().state->quest_file.image()->bytes));
    ASSERT_TRUE(in_file.moment) << in_file.problem;
    moments.push_back(*in_file.moment);
    history.keep(moment_to_bytes(moments.back()));
  }
  MomentOptions handed_on = kept;
  handed_on.history = history.to_bytes();
  expect_same_menu(play({{}, {}, true, handed_on, {}, &quest_}), menus[2]);
  expect_same_menu(play({{}, {kBack, kBack}, true, handed_on, {}, &quest_}), menus[0]);
  const std::string quest = quest_.path() + "/quest.qst";
  EXPECT_EQ(continue_problem({"0", "w", quest}, file), "");
  EXPECT_EQ(moment_in_file_bytes(*read_moments_file(file),
                                 quest_identity(menus[0].state->quest_file.image()->bytes))
                .moment,
            moments[0]);

  handed_on.history = "not a history";
  QuestRun anew = play({{}, {kEnter}, true, handed_on, {}, &quest_});
  EXPECT_NE(anew.note.find("moments handed on for Back are damaged"), std::string::npos);
  EXPECT_NE(anew.screen().find("Press any key to begin."), std::string::npos);
  EXPECT_EQ(continue_problem({"0", "w", quest}, state_.path() + "/none"), "");
  write_moments_file(file, "garbage");
  EXPECT_EQ(continue_problem({"0", "w", quest}, file), "not a file of moments");
}

}  // namespace
}  // namespace tindel::testing
