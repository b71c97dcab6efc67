#pragma once
// Writing a release folder: the page, the interpreter, the quest and its media embedded, and
// the list of licences.
#include <iosfwd>
#include <string>
#include <vector>

#include "author/release/quest_files.h"
#include "author/release/release_page.h"

namespace tindel::author {

struct ReleaseFolder {
  std::string page_build;  // where the page build lies
  std::string out_dir;     // the folder written
  PageFacts page;
  std::vector<std::string> written;  // paths relative to out_dir, in the order written
};

// Writes every file of the release into folder.out_dir (made when missing); scripts of an
// earlier release there that this one does not need are removed. Notes what it skips (no
// soundfont in the page build) on warnings. False with error when a file cannot be read or
// written.
bool write_release_folder(const QuestFiles& quest, ReleaseFolder& folder, std::ostream& warnings,
                          std::string& error);

}  // namespace tindel::author
