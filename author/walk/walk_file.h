#pragma once
// Walkthrough files: the quest and its code page, then named tests, each a sequence of steps
// (keys for the player's side) and checks on what each step printed and on the game's state.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tindel::author {

struct WalkCheck {
  enum class Kind { line, absent, pattern, state };
  Kind kind = Kind::line;
  std::string text;   // the line, the absent text, the pattern, or the state's name
  std::string value;  // a state check's expected value
  int line_no = 0;    // in the walkthrough file
};

// One step: the keys it sends ("> down"), and the checks on what came after them. The first
// step of a test sends nothing: its checks are on what the quest prints before the first key.
struct WalkStep {
  std::string action;    // down, up, enter, i, u, esc, back, restart, type, key; empty: start
  std::string argument;  // the text of `type` and `key`, UTF-8
  std::vector<WalkCheck> checks;
  int line_no = 0;
};

struct WalkTest {
  std::string name;
  std::vector<WalkStep> steps;
  int line_no = 0;
};

struct WalkFile {
  std::string quest;  // as written, relative to the walkthrough file
  char codepage = 'w';
  std::uint32_t seed = 1;
  std::vector<WalkTest> tests;
};

// false with "LINE: reason" in error when the text is not a walkthrough.
bool parse_walk(std::string_view text, WalkFile& walk, std::string& error);

// What a step's action sends: the steps understood, for messages.
bool known_action(std::string_view action);

}  // namespace tindel::author
