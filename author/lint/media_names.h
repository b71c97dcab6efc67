#pragma once
// The media files a quest names, as its check run saw them: those named by a constant
// (`music = 3` is 3.mid, `play door` door.wav, `image = 4` 4.jpg), and whether it plays tunes
// or shows pictures at all, since a number computed during play names its file only then.
#include <string>
#include <vector>

#include "author/check_run.h"
#include "author/lint/lint.h"

namespace tindel::author {

struct NamedMediaFile {
  std::string file;  // as the quest names it (CP866)
  SourcePlace place;
};

struct MediaNamed {
  std::vector<NamedMediaFile> files;  // in quest order, repeats included
  bool plays_music = false;           // a `music` other than `music = 0`
  bool shows_pictures = false;        // an `image` other than `image = 0`
};

MediaNamed media_named(const CheckRecord& record);

// A warning for each named file that does not lie in quest_dir.
std::vector<Problem> missing_media(const MediaNamed& media, const std::string& quest_dir);

}  // namespace tindel::author
