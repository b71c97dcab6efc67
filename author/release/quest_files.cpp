#include "author/release/quest_files.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "UTypes/charset/codepage_detect.h"
#include "author/check_run.h"
#include "author/commands.h"
#include "author/index_builder.h"
#include "author/lint/media_names.h"

namespace tindel::author {

namespace {

namespace fs = std::filesystem;

bool is_numbered(const std::string& name, const std::string& extension) {
  if (name.size() <= extension.size() || !name.ends_with(extension)) return false;
  auto digits_end = name.end() - static_cast<std::ptrdiff_t>(extension.size());
  return std::all_of(name.begin(), digits_end, [](char c) { return c >= '0' && c <= '9'; });
}

// The files n.EXTENSION in folder for each extension asked for.
void add_numbered(const std::string& folder, const std::vector<std::string>& extensions,
                  std::set<std::string>& names) {
  if (extensions.empty()) return;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    std::string name = entry.path().filename().string();
    for (const std::string& extension : extensions)
      if (is_numbered(name, extension) && entry.is_regular_file(error)) names.insert(name);
  }
}

std::string first_text_of(const QuestIndex& index) {
  for (const Location& location : index.locations)
    if (!location.first_text.empty()) return location.first_text;
  return {};
}

}  // namespace

QuestFiles quest_files(const std::string& quest_path, const std::string& quest_bytes,
                       char codepage) {
  QuestFiles files;
  files.quest_path = quest_path;
  files.quest_name = fs::path(quest_path).filename().string();
  files.codepage = codepage != 0 ? codepage : detect_codepage(quest_bytes);
  LintOptions options{files.codepage, is_qs1_name(quest_path)};
  CheckRecord record = run_check(prepare_quest(quest_bytes, options));
  files.first_text = first_text_of(index_from_record(record));

  MediaNamed media = media_named(record);
  std::string folder = folder_of(quest_path);
  files.missing = missing_media(media, folder);
  std::set<std::string> names;
  for (const NamedMediaFile& named : media.files)
    if (fs::is_regular_file(fs::path(folder) / named.file)) names.insert(named.file);
  std::vector<std::string> numbered_kinds;
  if (media.plays_music) numbered_kinds.push_back(".mid");
  if (media.shows_pictures) numbered_kinds.push_back(".jpg");
  add_numbered(folder, numbered_kinds, names);
  files.media.assign(names.begin(), names.end());
  files.plays_music = std::any_of(files.media.begin(), files.media.end(),
                                  [](const std::string& name) { return name.ends_with(".mid"); });
  return files;
}

}  // namespace tindel::author
