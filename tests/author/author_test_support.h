#pragma once
// Quests for the authors' tools' tests, written line by line, and where a piece of them is.
#include <string>
#include <vector>

#include "author/lint/lint.h"

namespace tindel::author::testing {

// Lines joined with CR LF, as quests are kept.
std::string quest_text(const std::vector<std::string>& lines);

struct Spot {
  int line = 0;
  int column = 0;
};
// The line (from 1) and column of the first occurrence of `piece`; line 0 when absent.
Spot spot_of(const std::vector<std::string>& lines, const std::string& piece);

// The problems that match, for readable failures.
std::vector<Problem> problems_at(const std::vector<Problem>& all, int line);
std::string describe(const std::vector<Problem>& problems);

// Whether a problem with this severity, place and beginning of message is among them.
bool has_problem(const std::vector<Problem>& all, Severity severity, Spot at,
                 const std::string& message_start);

}  // namespace tindel::author::testing
