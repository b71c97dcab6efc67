#include "author/release/licenses.h"

#include <algorithm>
#include <string_view>

#include "author/release/embedded_file.h"
#include "author/release/page_build.h"

namespace tindel::author {

namespace {

struct Bundled {
  const char* what;
  const char* licence;
  bool (*present)(const std::string& path);
};

bool is_page_script(const std::string& path) {
  return path == "page.js" || path == embedded_script_path(kInterpreterWasm);
}
bool is_xterm(const std::string& path) {
  return path == "page.js" || path == "vendor/xterm.css";
}
bool is_synthesizer(const std::string& path) {
  return path.starts_with("vendor/") && path.find("synthesizer") != std::string::npos;
}
bool is_fluidsynth(const std::string& path) {
  return path.starts_with("vendor/") && path.find("fluidsynth") != std::string::npos;
}
bool is_soundfont(const std::string& path) {
  return path == embedded_script_path(kSoundfont);
}

constexpr Bundled kBundled[] = {
    {"Tindel, the interpreter and its page (page.js, files/tindel.wasm.js)",
     "the licence of the Tindel source it was built from", is_page_script},
    {"xterm.js, the screen (in page.js, vendor/xterm.css)", "MIT", is_xterm},
    {"js-synthesizer, the tunes' player (vendor/)", "BSD-3-Clause", is_synthesizer},
    {"FluidSynth, the synthesizer inside it (vendor/)", "LGPL-2.1-or-later", is_fluidsynth},
    {"the TimGM6mb soundfont (files/TimGM6mb.sf2.js)", "GPL-2.0", is_soundfont},
};

}  // namespace

std::string licenses_text(const std::vector<std::string>& release_files) {
  std::string text =
      "What this folder bundles, and under which licence. The quest and its media files are "
      "its author's.\n\n";
  for (const Bundled& piece : kBundled) {
    if (std::none_of(release_files.begin(), release_files.end(), piece.present)) continue;
    text += piece.what;
    text += ": ";
    text += piece.licence;
    text += '\n';
  }
  return text;
}

}  // namespace tindel::author
