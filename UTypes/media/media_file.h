#pragma once
// Whether a media file named by the quest can be opened for reading.
#include <string>

namespace tindel {

bool media_file_exists(const std::string& name);

}  // namespace tindel
