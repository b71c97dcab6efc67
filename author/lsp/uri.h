#pragma once
// file: URIs of the documents the editor opens, and the folder a quest's media lie in.
#include <string>
#include <string_view>

namespace tindel::author::lsp {

// The local path of a file: URI (percent escapes decoded), or empty for any other scheme.
std::string path_from_uri(std::string_view uri);
// The folder holding the file of a URI; "." when the URI names no local file.
std::string folder_of_uri(std::string_view uri);

}  // namespace tindel::author::lsp
