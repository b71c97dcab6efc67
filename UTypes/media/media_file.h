#pragma once
// Whether a media file named by the quest can be opened for reading.
#include <string>

namespace tindel {

// True for a regular file that opens for reading. Never blocks: a named pipe or a device is
// no medium. A name holding a NUL byte names no file (the system would read it cut short).
bool media_file_exists(const std::string& name);

}  // namespace tindel
