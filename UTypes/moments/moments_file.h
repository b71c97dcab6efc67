#pragma once
// The file that lets a game continue where it was left: the last moment of play of one
// quest, with a version, the identity of the quest's text and a checksum. It is written
// beside its place and renamed into it, so a crash never leaves half a file.
#include <optional>
#include <string>
#include <string_view>

#include "UTypes/moments/moment.h"

namespace tindel {

// The identity of a quest's text: its size and a checksum of its bytes, as text.
std::string quest_identity(std::string_view quest_text);

// The file's bytes: the header, the moment, the checksum of everything before it.
std::string moments_file_bytes(std::string_view identity, std::string_view moment_bytes);

struct ContinuedMoment {
  std::optional<Moment> moment;
  std::string problem;  // why there is none, for one line to the player; empty: no file
};

// The moment in a file's bytes, when they are whole, of this version and of this quest text.
ContinuedMoment moment_in_file_bytes(std::string_view bytes, std::string_view identity);

// The file of moments of the quest at quest_path: under $XDG_STATE_HOME/tindel, or
// ~/.local/state/tindel; empty when neither is known.
std::string moments_file_path(const std::string& quest_path);

// Writes the file beside path and renames it into place (the folders made first); false
// when that fails, and the old file is left as it was.
bool write_moments_file(const std::string& path, std::string_view bytes);
// The file's bytes; nullopt when it cannot be read (it does not exist).
std::optional<std::string> read_moments_file(const std::string& path);

}  // namespace tindel
