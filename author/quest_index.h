#pragma once
// Where every label and variable of a quest is named, found by the interpreter's own scanner
// during its own check. Names are lower-cased, in UTF-8.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "author/large_buffer.h"
#include "author/lint/lint.h"

namespace tindel::author {

struct Place {  // same counting as Problem
  int line = 1;
  int column = 1;
  int length = 0;
};

enum class LinkKind { button, jump, call, common, use_action };

struct Link {
  std::string label;  // the target
  Place place;
  LinkKind kind = LinkKind::button;
  std::string caption;  // a button's caption; empty for the other kinds
};

struct Location {
  std::string label;
  Place place;             // the label line
  std::string first_text;  // first line of its text, for maps and hovers
  int end_line = 0;        // last line before the next label line
};

struct QuestIndex {
  std::vector<Location> locations;  // in file order
  // every btn/goto/proc/common/use: in a large quest, hundreds of thousands
  std::vector<Link, LargeAllocator<Link>> links;
  std::map<std::string, std::vector<Place>>
      assignments;  // variable key ("gold", "%name", ";key") -> places assigned
  std::map<std::string, std::vector<Place>> reads;  // variable key -> places read
};

QuestIndex index_quest(std::string_view quest_bytes, const LintOptions& options);

}  // namespace tindel::author
