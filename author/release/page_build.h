#pragma once
// The page build a release is made from: the site of `make web` (build-web/site) or its
// installed copy (PREFIX/share/tindel/web), which holds the page bundled into one classic script
// (release-page.js) beside the site's own files.
#include <optional>
#include <string>
#include <vector>

namespace tindel::author {

// The folder, tried in this order: the override (--page-build, else TINDEL_PAGE_BUILD), then
// beside the program: ../share/tindel/web (installed) and ../build-web/site (the source
// tree's build folder). nullopt when none holds the bundle.
std::optional<std::string> find_page_build(const std::string& override_dir);

// The page build's parts, as paths relative to it.
inline constexpr const char* kPageBundle = "release-page.js";
inline constexpr const char* kPageHtml = "index.html";
inline constexpr const char* kInterpreterWasm = "tindel.wasm";
inline constexpr const char* kSoundfont = "TimGM6mb.sf2";

// The style sheets the page links: *.css at the top and in vendor/.
std::vector<std::string> page_style_sheets(const std::string& page_build);
// The scripts that play tunes (the synthesizer's, in vendor/ beside xterm.js's files).
std::vector<std::string> synthesizer_scripts(const std::string& page_build);
// The soundfont's path relative to the page build, or empty when it has none.
std::string soundfont_in(const std::string& page_build);

}  // namespace tindel::author
