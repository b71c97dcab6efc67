#include "author/release/release_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <system_error>

#include "author/commands.h"
#include "author/release/embedded_file.h"
#include "author/release/licenses.h"
#include "author/release/page_build.h"

namespace tindel::author {

namespace {

namespace fs = std::filesystem;

constexpr const char* kReleaseBundle = "page.js";

class FolderWriter {
 public:
  FolderWriter(ReleaseFolder& folder, std::string& error) : folder_(folder), error_(error) {}

  bool write(const std::string& relative, std::string_view bytes) {
    fs::path path = fs::path(folder_.out_dir) / relative;
    std::error_code made;
    fs::create_directories(path.parent_path(), made);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) ||
        !out.flush()) {
      error_ = path.string() + ": cannot be written";
      return false;
    }
    folder_.written.push_back(relative);
    return true;
  }

  bool read(const std::string& path, std::string& bytes) {
    if (read_whole_file(path, bytes)) return true;
    error_ = path + ": cannot be read";
    return false;
  }

  bool copy_from_page(const std::string& relative, const std::string& as) {
    std::string bytes;
    return read(folder_.page_build + "/" + relative, bytes) && write(as, bytes);
  }

  bool embed(const std::string& path, const std::string& name) {
    std::string bytes;
    return read(path, bytes) && write(embedded_script_path(name), embedded_script(name, bytes));
  }

 private:
  ReleaseFolder& folder_;
  std::string& error_;
};

bool write_page(FolderWriter& writer, ReleaseFolder& folder, std::string& error) {
  std::string site_html;
  if (!writer.read(folder.page_build + "/" + kPageHtml, site_html)) return false;
  std::string html = release_page(site_html, folder.page, kReleaseBundle);
  if (html.empty()) {
    error = folder.page_build + "/" + kPageHtml + ": no module script to replace";
    return false;
  }
  if (!writer.write(kPageHtml, html) || !writer.copy_from_page(kPageBundle, kReleaseBundle))
    return false;
  for (const std::string& sheet : page_style_sheets(folder.page_build))
    if (!writer.copy_from_page(sheet, sheet)) return false;
  return writer.embed(folder.page_build + "/" + kInterpreterWasm, kInterpreterWasm);
}

bool write_music_player(FolderWriter& writer, const ReleaseFolder& folder, std::ostream& warnings) {
  std::string soundfont = soundfont_in(folder.page_build);
  if (soundfont.empty()) {
    warnings << "tindel-author: the page build has no " << kSoundfont
             << "; the release plays no tunes\n";
    return true;
  }
  for (const std::string& script : synthesizer_scripts(folder.page_build))
    if (!writer.copy_from_page(script, script)) return false;
  return writer.embed(folder.page_build + "/" + soundfont, kSoundfont);
}

// Scripts in files/ that an earlier release left and this one did not write.
void remove_stale_scripts(const ReleaseFolder& folder) {
  std::error_code error;
  for (const fs::directory_entry& entry :
       fs::directory_iterator(fs::path(folder.out_dir) / "files", error)) {
    std::string relative = "files/" + entry.path().filename().string();
    bool written =
        std::find(folder.written.begin(), folder.written.end(), relative) != folder.written.end();
    if (!written && relative.ends_with(".js")) fs::remove(entry.path(), error);
  }
}

}  // namespace

bool write_release_folder(const QuestFiles& quest, ReleaseFolder& folder, std::ostream& warnings,
                          std::string& error) {
  FolderWriter writer(folder, error);
  if (!write_page(writer, folder, error)) return false;
  if (!writer.embed(quest.quest_path, quest.quest_name)) return false;
  std::string quest_dir = folder_of(quest.quest_path);
  for (const std::string& name : quest.media)
    if (!writer.embed(quest_dir + "/" + name, name)) return false;
  if (quest.plays_music && !write_music_player(writer, folder, warnings)) return false;
  remove_stale_scripts(folder);
  std::vector<std::string> listed = folder.written;
  return writer.write("LICENSES", licenses_text(listed));
}

}  // namespace tindel::author
