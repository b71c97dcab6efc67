#include "author/release/page_build.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tindel::author {

namespace {

namespace fs = std::filesystem;

bool holds_bundle(const fs::path& dir) {
  std::error_code error;
  return fs::is_regular_file(dir / kPageBundle, error);
}

fs::path program_folder() {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : self.parent_path();
}

// The files of page_build/folder whose names pass keep, relative to page_build, sorted.
template <typename Keep>
std::vector<std::string> files_in(const std::string& page_build, const std::string& folder,
                                  Keep keep) {
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry& entry :
       fs::directory_iterator(fs::path(page_build) / folder, error)) {
    std::string name = entry.path().filename().string();
    if (entry.is_regular_file(error) && keep(name))
      names.push_back(folder.empty() ? name : folder + "/" + name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::optional<std::string> find_page_build(const std::string& override_dir) {
  std::vector<fs::path> candidates;
  if (!override_dir.empty()) {
    candidates.push_back(override_dir);
  } else if (const char* env = std::getenv("TINDEL_PAGE_BUILD"); env && *env) {
    candidates.push_back(env);
  } else if (fs::path here = program_folder(); !here.empty()) {
    candidates.push_back(here.parent_path() / "share/tindel/web");
    candidates.push_back(here.parent_path() / "build-web/site");
  }
  for (const fs::path& dir : candidates)
    if (holds_bundle(dir)) return dir.string();
  return std::nullopt;
}

std::vector<std::string> page_style_sheets(const std::string& page_build) {
  auto css = [](const std::string& name) { return name.ends_with(".css"); };
  std::vector<std::string> sheets = files_in(page_build, "", css);
  for (std::string& sheet : files_in(page_build, "vendor", css))
    sheets.push_back(std::move(sheet));
  return sheets;
}

std::vector<std::string> synthesizer_scripts(const std::string& page_build) {
  return files_in(page_build, "vendor", [](const std::string& name) {
    return name.ends_with(".js") && !name.starts_with("xterm");
  });
}

std::string soundfont_in(const std::string& page_build) {
  for (const char* place : {"", "vendor/", "vendor/soundfont/"}) {
    std::string relative = std::string(place) + kSoundfont;
    std::error_code error;
    if (fs::is_regular_file(fs::path(page_build) / relative, error)) return relative;
  }
  return {};
}

}  // namespace tindel::author
