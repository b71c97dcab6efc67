#include "author/lint/media_names.h"

#include <sys/stat.h>

#include <algorithm>

#include "author/index_builder.h"

namespace tindel::author {

namespace {

using K = TokenKind;

bool all_digits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool file_exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool is_picture_assignment(const SeenStatement& st) {
  return is_assignment(st) && st.text == "image";
}

// The number a `music = N` or `image = N` gives by a constant, or empty when computed.
std::string constant_number(const CheckRecord& record, const SeenStatement& st) {
  auto tokens = record.tokens_of(st);
  if (st.kind == K::Music && st.token_count == 2 && all_digits(tokens[1].text))
    return tokens[1].text;
  if (is_picture_assignment(st) && st.token_count == 1 && all_digits(tokens[0].text))
    return tokens[0].text;
  return {};
}

// The media file a statement names by a constant, or empty when it is computed.
std::string constant_media_file(const CheckRecord& record, const SeenStatement& st) {
  std::string number = constant_number(record, st);
  if (st.kind == K::Music) return number.empty() || number == "0" ? "" : number + ".mid";
  if (st.kind == K::Play && st.token_count == 1 && !record.result_of(st).empty())
    return record.result_of(st) + ".wav";
  return number.empty() || number == "0" ? "" : number + ".jpg";
}

}  // namespace

MediaNamed media_named(const CheckRecord& record) {
  MediaNamed media;
  for (const SeenStatement& st : record.statements) {
    if (st.failed || st.detail == kNoDetail) continue;
    bool music = st.kind == K::Music;
    if (!music && st.kind != K::Play && !is_picture_assignment(st)) continue;
    bool stops = constant_number(record, st) == "0";
    if (music && !stops) media.plays_music = true;
    if (is_picture_assignment(st) && !stops) media.shows_pictures = true;
    std::string file = constant_media_file(record, st);
    if (!file.empty()) media.files.push_back({file, st.start});
  }
  return media;
}

std::vector<Problem> missing_media(const MediaNamed& media, const std::string& quest_dir) {
  std::vector<Problem> problems;
  for (const NamedMediaFile& named : media.files) {
    if (file_exists(quest_dir + "/" + named.file)) continue;
    problems.push_back(Problem{named.place.line, std::max(1, named.place.column), Severity::warning,
                               "file '" + to_utf8(named.file) + "' is not beside the quest"});
  }
  return problems;
}

}  // namespace tindel::author
