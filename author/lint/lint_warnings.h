#pragma once
// The warnings that no check of the interpreter gives: what the quest's text shows to be a
// likely mistake.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "author/check_run.h"
#include "author/quest_index.h"

namespace tindel::author {

struct QuestFacts {
  const CheckRecord& record;
  const QuestIndex& index;
  std::string_view bytes;  // as the interpreter reads them
  std::string quest_dir;   // where media files must lie
  // Locations that run into the next label line (falling_locations), found once.
  std::vector<std::size_t> falling = {};
  // The last location is a common location that runs off the end of the quest.
  bool common_runs_off_end = false;
};

void warn_duplicate_labels(const QuestFacts& facts, std::vector<Problem>& out);
void warn_unreachable_locations(const QuestFacts& facts, std::vector<Problem>& out);
void warn_fall_through(const QuestFacts& facts, std::vector<Problem>& out);
void warn_unassigned_reads(const QuestFacts& facts, std::vector<Problem>& out);
void warn_missing_media(const QuestFacts& facts, std::vector<Problem>& out);
void warn_lone_line_feeds(const QuestFacts& facts, std::vector<Problem>& out);
void warn_common_off_end(const QuestFacts& facts, std::vector<Problem>& out);
// A label line longer than a button keeps, named by a button.
void warn_labels_too_long_for_buttons(const QuestFacts& facts, std::vector<Problem>& out);
// Why a button's label was not found when the button cut its name; empty otherwise.
std::string cut_button_label_reason(const CheckRecord& record, const SeenDiagnostic& d);

// Locations that end with neither `end` nor `goto` and so run into the next label line.
std::vector<std::size_t> falling_locations(const QuestFacts& facts);
// The facts of a quest with what every warning needs found once.
QuestFacts quest_facts(const CheckRecord& record, const QuestIndex& index, std::string_view bytes,
                       const std::string& quest_dir);

// The labels that something names (a button, jump, call, common location or use action), the
// first location (where play starts), and the locations that the one before runs into. The
// names are views of the index's.
std::unordered_set<std::string_view> reached_labels(const QuestFacts& facts);

// Whether the quest sets the string variable `sys`: the word `system` may then stand for any
// name or keyword, and what is reached or read is no longer decided by the text.
bool uses_system_word(const QuestIndex& index);

// Edit distance of two names, for "did you mean".
std::size_t edit_distance(std::string_view a, std::string_view b);

}  // namespace tindel::author
