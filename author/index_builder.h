#pragma once
// The index of a quest built from what its check run saw.
#include "author/check_run.h"
#include "author/quest_index.h"

namespace tindel::author {

QuestIndex index_from_record(const CheckRecord& record);

// Whether a statement only separates (a line end, "&" or the end, with no name before it).
bool is_separator_only(const SeenStatement& st);

// Whether a statement is an assignment (a name, "=" and an expression).
bool is_assignment(const SeenStatement& st);

// A table key as the index names it: "gold" for "$gold"; items and strings keep ";" and "%".
std::string index_key(std::string_view table_key);

}  // namespace tindel::author
