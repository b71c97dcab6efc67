// tindel-author release: a quest as a folder that plays it in a browser, opened from disk or
// from any static host, and optionally its zip for game sites.
#include <filesystem>
#include <optional>
#include <ostream>

#include "author/commands.h"
#include "author/release/page_build.h"
#include "author/release/quest_files.h"
#include "author/release/release_folder.h"
#include "author/release/release_page.h"
#include "author/release/zip_archive.h"

namespace tindel::author {

namespace {

constexpr const char* kReleaseUsage =
    "usage: tindel-author release [-o DIR] [--title TEXT] [--codepage w|d|u] [--zip FILE] "
    "[--page-build DIR] QUEST";

struct ReleaseRequest {
  std::string quest;
  std::string out_dir;  // default: NAME-web in the current folder
  std::optional<std::string> title;
  char codepage = 0;
  std::string zip;
  std::string page_build;
};

bool parse_release_arguments(const Arguments& args, ReleaseRequest& request, std::ostream& err) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool takes_value =
        a == "-o" || a == "--title" || a == "--codepage" || a == "--zip" || a == "--page-build";
    if (takes_value && i + 1 >= args.size()) {
      err << "tindel-author: " << a << " needs a value\n" << kReleaseUsage << '\n';
      return false;
    }
    if (a == "-o") {
      request.out_dir = args[++i];
    } else if (a == "--title") {
      request.title = args[++i];
    } else if (a == "--zip") {
      request.zip = args[++i];
    } else if (a == "--page-build") {
      request.page_build = args[++i];
    } else if (a == "--codepage") {
      const std::string& v = args[++i];
      if (v != "w" && v != "d" && v != "u") {
        err << "tindel-author: unknown code page '" << v << "' (w, d or u)\n";
        return false;
      }
      request.codepage = v[0];
    } else if (a.starts_with("-") || !request.quest.empty()) {
      err << "tindel-author: unexpected '" << a << "'\n" << kReleaseUsage << '\n';
      return false;
    } else {
      request.quest = a;
    }
  }
  if (request.quest.empty()) err << kReleaseUsage << '\n';
  return !request.quest.empty();
}

std::string default_out_dir(const std::string& quest) {
  return std::filesystem::path(quest).stem().string() + "-web";
}

}  // namespace

int release_command(const Arguments& args, std::ostream& out, std::ostream& err) {
  ReleaseRequest request;
  if (!parse_release_arguments(args, request, err)) return kStatusUsage;
  std::string bytes;
  if (!read_whole_file(request.quest, bytes)) {
    err << "tindel-author: " << request.quest << ": cannot be read\n";
    return kStatusUsage;
  }
  std::optional<std::string> page_build = find_page_build(request.page_build);
  if (!page_build) {
    err << "tindel-author: no page build found (run `make web`, or give --page-build DIR or "
           "TINDEL_PAGE_BUILD)\n";
    return kStatusUsage;
  }
  QuestFiles quest = quest_files(request.quest, bytes, request.codepage);
  for (const Problem& p : quest.missing)
    err << request.quest << ':' << p.line << ':' << p.column << ": warning: " << p.message << '\n';

  ReleaseFolder folder;
  folder.page_build = *page_build;
  folder.out_dir = request.out_dir.empty() ? default_out_dir(request.quest) : request.out_dir;
  std::string fallback_title = std::filesystem::path(request.quest).stem().string();
  folder.page = {request.title.value_or(
                     quest.first_text.empty() ? fallback_title : readable_title(quest.first_text)),
                 quest.quest_name, request.codepage};
  std::string error;
  if (!write_release_folder(quest, folder, err, error)) {
    err << "tindel-author: " << error << '\n';
    return kStatusUsage;
  }
  out << folder.out_dir << ": " << folder.written.size() << " files\n";
  if (request.zip.empty()) return kStatusClean;
  if (!write_zip(request.zip, folder.out_dir, folder.written, error)) {
    err << "tindel-author: " << request.zip << ": " << error << '\n';
    return kStatusUsage;
  }
  out << request.zip << '\n';
  return kStatusClean;
}

}  // namespace tindel::author
