#pragma once
// The archive game sites take: a release folder zipped, its index.html at the root.
#include <string>
#include <vector>

namespace tindel::author {

// Writes zip_path from the files (relative paths) of folder; false with a message otherwise.
bool write_zip(const std::string& zip_path, const std::string& folder,
               const std::vector<std::string>& files, std::string& error);

}  // namespace tindel::author
