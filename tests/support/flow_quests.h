#pragma once
// Short ways to play a quest in a test and read what it showed: keys pressed and lines typed
// in order, the screen without the banner, the files it left.
#include <cstdint>
#include <string>
#include <vector>

#include "support/quest_harness.h"

namespace tindel::testing {

struct Player {
  std::vector<std::uint8_t> keys{};  // menu and anykey keys, in order
  std::vector<std::string> lines{};  // lines typed for input and at "<press enter>"
  std::vector<std::string> args = {"0", "w", "quest.qst"};
};

// Plays `quest` (written as quest.qst, "\n" made CR LF) in dir with the player's input.
QuestRun play(const TempDir& dir, const std::string& quest, const Player& player = {});

// True when `text` holds `part`.
bool holds(const std::string& text, const std::string& part);

// The number of times `part` stands in `text`.
int count_of(const std::string& text, const std::string& part);

// The lines of a screen transcript that are not empty, in order.
std::vector<std::string> shown_lines(const std::string& screen);

}  // namespace tindel::testing
