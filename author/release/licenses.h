#pragma once
// The LICENSES file of a release: each piece of software or data it bundles, with its licence,
// named only when its files are in the release.
#include <string>
#include <vector>

namespace tindel::author {

// release_files: the paths written into the release, relative to it.
std::string licenses_text(const std::vector<std::string>& release_files);

}  // namespace tindel::author
