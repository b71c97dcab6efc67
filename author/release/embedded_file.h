#pragma once
// A file carried inside a release as a classic script, files/NAME.js, that registers its
// bytes in base64: a page opened from disk may not fetch its neighbours, but it may run their
// scripts, and the page injects each one only when it first needs the file.
#include <string>
#include <string_view>

namespace tindel::author {

// The script's path in the release for the file name.
std::string embedded_script_path(const std::string& name);

// The script's text, which sets tindelFiles["NAME"] to the bytes, gzipped, in base64.
std::string embedded_script(const std::string& name, std::string_view bytes);

}  // namespace tindel::author
