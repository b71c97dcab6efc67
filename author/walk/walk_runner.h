#pragma once
// Runs walkthrough tests in this process: each from a fresh start of the interpreter, through
// the stream front end, with the file's fixed seed and the steps as the player's keys.
#include <string>
#include <vector>

#include "author/walk/walk_file.h"

namespace tindel::author {

struct TestResult {
  std::string name;
  bool passed = true;
  std::vector<std::string> failures;  // each: where, what was expected, what came
};

// quest_path: the quest, as the current directory reaches it.
TestResult run_walk_test(const WalkFile& walk, const WalkTest& test, const std::string& quest_path);

}  // namespace tindel::author
