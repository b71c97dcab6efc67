#pragma once
// What a published quest takes along: the quest, every media file it names by a constant
// (found by lint's own reading of it), the numbered tunes and pictures beside it when it plays
// or shows any (a number computed during play names its file only then), and its title.
#include <string>
#include <vector>

#include "author/lint/lint.h"

namespace tindel::author {

struct QuestFiles {
  std::string quest_path;
  std::string quest_name;          // the file's name, kept in the release: a save names its quest
  char codepage = 'w';             // given, or found from the text as the page finds it
  std::string first_text;          // UTF-8: the quest's first line of text, for the page's title
  std::vector<std::string> media;  // names beside the quest, sorted, each once
  std::vector<Problem> missing;    // named files not beside it, as lint warns of them
  bool plays_music = false;        // a tune is among the media: the soundfont goes along
};

// codepage: 'w', 'd', 'u', or 0 to find it from the text.
QuestFiles quest_files(const std::string& quest_path, const std::string& quest_bytes,
                       char codepage);

}  // namespace tindel::author
