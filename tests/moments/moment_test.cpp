// Moments as bytes and as a file: what comes back is what was taken, and anything else is
// refused without a crash; Back's history keeps its bounds.
#include <gtest/gtest.h>

#include "UTypes/eval/var_table.h"
#include "UTypes/moments/moment_history.h"
#include "UTypes/moments/moments_file.h"
#include "support/quest_harness.h"

namespace tindel::testing {
namespace {

// A moment of a quest waiting at a pause, with a string variable, an item and two buttons.
Moment sample_moment(Interp& in) {
  in.run_statements(5);
  InterpreterState& s = in.s();
  s.random.discard(5);
  return take_moment(s, MenuWait{false, 300}, in.console().screen_image());
}

constexpr const char* kQuest =
    "instr name = Ann\ninv + 3, rope\nbtn a, Go\npln Hello\nbtn b, Stay\n";

TEST(MomentTest, BytesGiveBackTheMomentAndTheStateItWasTakenFrom) {
  Interp in(kQuest);
  Moment m = sample_moment(in);
  auto back = moment_from_bytes(moment_to_bytes(m));
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, m);

  Interp other(":elsewhere\npln Something else\n");
  restore_moment(other.s(), *back);
  EXPECT_EQ(string_variable_text(other.s(), "name"), "Ann");
  EXPECT_EQ(other.s().var_values[static_cast<std::size_t>(getvar(other.s(), ";rope"))], 3.0);
  EXPECT_EQ(other.s().btn_count, in.s().btn_count);
  EXPECT_EQ(other.s().quest_file.pos(), in.s().quest_file.pos());
  EXPECT_TRUE(other.s().random == in.s().random);
  EXPECT_EQ(take_moment(other.s(), m.wait, m.screen), m);
}

TEST(MomentTest, EveryCutAndEveryLongerFormIsRefused) {
  Interp in(kQuest);
  std::string bytes = moment_to_bytes(sample_moment(in));
  for (std::size_t n = 0; n < bytes.size(); ++n)
    ASSERT_FALSE(moment_from_bytes(std::string_view(bytes).substr(0, n))) << n;
  EXPECT_FALSE(moment_from_bytes(bytes + '\0'));
}

TEST(MomentTest, AFullTableFitsAFewTensOfKilobytes) {
  Interp in("");
  for (int i = 1; i < in.s().var_boundary; ++i) {
    in.s().var_names[static_cast<std::size_t>(i)] = "$" + std::string(62, 'a' + i % 26);
    in.s().var_values[static_cast<std::size_t>(i)] = i + 0.5;
  }
  std::string bytes = moment_to_bytes(take_moment(in.s(), {}, in.console().screen_image()));
  EXPECT_LT(bytes.size(), 80u * 1024);
  auto back = moment_from_bytes(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->slots.size(), static_cast<std::size_t>(kVarSlots - 1));  // all but slot 0
}

TEST(MomentHistoryTest, KeepsTheNewestWithinItsBoundsAndStepsBackToTheFirst) {
  MomentHistory history;
  std::vector<std::string> told;
  history.set_listener([&](std::string_view bytes) { told.emplace_back(bytes); });
  for (int i = 0; i < 1200; ++i)
    history.keep(std::to_string(i));
  EXPECT_EQ(history.size(), MomentHistory::kMaxMoments);
  EXPECT_EQ(history.step_back(), "1198");
  EXPECT_EQ(told.back(), "1198");  // the file follows the player back

  MomentHistory big;
  for (int i = 0; i < 200; ++i)
    big.keep(std::string(100 * 1024, static_cast<char>(i)));
  EXPECT_LE(big.bytes(), MomentHistory::kMaxBytes);
  EXPECT_GE(big.size(), 100u);

  MomentHistory one;
  one.keep("only");
  EXPECT_FALSE(one.step_back());
  EXPECT_EQ(one.size(), 1u);
}

TEST(MomentHistoryTest, ItsBytesGiveBackEveryMomentAndAnyOtherBytesAreRefused) {
  MomentHistory history;
  for (const std::string& moment :
       {std::string("first"), std::string(), std::string("third\0moment", 12)})
    history.keep(moment);
  std::string bytes = history.to_bytes();

  MomentHistory handed_on;
  int told = 0;
  handed_on.set_listener([&](std::string_view) { ++told; });
  handed_on.keep("dropped");
  ASSERT_TRUE(handed_on.from_bytes(bytes));
  EXPECT_EQ(told, 1);  // the newest is in the file already
  EXPECT_EQ(handed_on.size(), 3u);
  EXPECT_EQ(handed_on.bytes(), history.bytes());
  EXPECT_EQ(handed_on.newest(), std::string("third\0moment", 12));
  EXPECT_EQ(handed_on.step_back(), "");
  EXPECT_EQ(handed_on.step_back(), "first");
  EXPECT_FALSE(handed_on.step_back());

  for (std::size_t n = 0; n < bytes.size(); ++n)
    EXPECT_FALSE(handed_on.from_bytes(std::string_view(bytes).substr(0, n))) << n;
  EXPECT_FALSE(handed_on.from_bytes(bytes + '\0'));
  std::string too_many = bytes;
  too_many[0] = static_cast<char>(0xFF);
  too_many[1] = static_cast<char>(0xFF);
  EXPECT_FALSE(handed_on.from_bytes(too_many));
  EXPECT_EQ(handed_on.newest(), "first");  // refused bytes leave the history as it was
  EXPECT_TRUE(handed_on.from_bytes(MomentHistory().to_bytes()));
  EXPECT_EQ(handed_on.size(), 0u);
}

TEST(MomentsFileTest, AWholeFileOfThisQuestGivesItsMomentAndNothingElseDoes) {
  Interp in(kQuest);
  Moment m = sample_moment(in);
  std::string identity = quest_identity("the quest's text");
  std::string file = moments_file_bytes(identity, moment_to_bytes(m));
  ContinuedMoment whole = moment_in_file_bytes(file, identity);
  ASSERT_TRUE(whole.moment);
  EXPECT_EQ(*whole.moment, m);

  EXPECT_EQ(moment_in_file_bytes(file, quest_identity("the quest's text, edited")).problem,
            "of another text of the quest");
  for (std::size_t n = 0; n < file.size(); n += 7)
    EXPECT_FALSE(moment_in_file_bytes(file.substr(0, n), identity).moment) << n;
  for (std::size_t i = 0; i < file.size(); i += 5) {
    std::string flipped = file;
    flipped[i] = static_cast<char>(flipped[i] ^ 0x20);
    EXPECT_FALSE(moment_in_file_bytes(flipped, identity).moment) << i;
  }
  std::string other_version = file;
  other_version[14] = 9;
  EXPECT_EQ(moment_in_file_bytes(other_version, identity).problem, "of another version");
}

TEST(MomentsFileTest, IsWrittenIntoPlaceUnderTheStateFolder) {
  TempDir dir;
  setenv("XDG_STATE_HOME", dir.path().c_str(), 1);
  std::string path = moments_file_path("quest.qst");
  unsetenv("XDG_STATE_HOME");
  EXPECT_EQ(path.rfind(dir.path() + "/tindel/quest.qst-", 0), 0u);
  EXPECT_NE(path, moments_file_path("other/quest.qst"));
  ASSERT_TRUE(write_moments_file(path, "first"));
  ASSERT_TRUE(write_moments_file(path, "second"));
  EXPECT_EQ(read_moments_file(path), "second");
  EXPECT_FALSE(dir.exists("tindel/" + path.substr(path.rfind('/') + 1) + ".new"));
}

}  // namespace
}  // namespace tindel::testing
