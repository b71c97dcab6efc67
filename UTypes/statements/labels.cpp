#include "UTypes/statements/labels.h"

#include <cstring>
#include <vector>

#include "UTypes/console/console.h"
#include "UTypes/console/console_ops.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/source/codepage.h"
#include "UTypes/source/scanner.h"
#include "UTypes/state/program_end.h"

namespace tindel {

namespace {

// The caches describe one version of the quest file; a new version empties them.
void sync_caches(InterpreterState& s) {
  std::uint64_t version = s.quest_file.image() ? s.quest_file.image()->version : 0;
  if (version == s.cache_version) return;
  s.jump_cache.clear();
  s.label_check_cache.clear();
  s.cache_version = version;
}

void restore(InterpreterState& s, const ReaderMark& mark) {
  s.quest_file.seek(mark.pos);
  s.cur_char = mark.cur_char;
  s.line_no = mark.line_no;
  s.line_pos = mark.line_pos;
}

// Reopens the quest for reading from its start (reading the disk only if it changed).
bool reopen_quest(InterpreterState& s) {
  if (!s.quest_file.open(s.quest_name)) return false;
  sync_caches(s);
  s.line_pos = 0;
  s.line_no = 1;
  return true;
}

// The Escape poll that a read over many lines would have made.
void poll_break(InterpreterState& s) {
  if (s.con_in->pollbreak() == key::kEscape) reporterror(s, "[getchar] BREAK", exit_status::kOk);
}

// Reads the reader forward to the label line of `name`, as a jump from the file's top does.
void scan_to_label(InterpreterState& s, const std::string& name) {
  for (;;) {
    do {
      getchar(s);
    } while (s.cur_char != ':' && s.cur_char != kEndOfFile);
    std::size_t k = 0;
    for (;;) {
      do {
        getchar(s);
      } while (s.cur_char <= 32);
      ++k;
      if (k > name.size()) break;
      s.cur_char = lowcase(s.cur_char);
      if (s.cur_char != static_cast<std::uint8_t>(name[k - 1])) break;
    }
    if (s.cur_char == kEndOfFile) reporterror(s, "[gotolabel] label <" + name + "> not found");
    if (k > name.size() && (s.cur_char == kEndOfLine || s.cur_char == ';' || s.cur_char == '&'))
      return;
  }
}

// One character of aux_file through the quest's conversions; false at its end.
bool aux_read(InterpreterState& s, std::uint8_t& c) {
  if (s.aux_file.at_end()) return false;
  c = decode_quest_byte(s, s.aux_file.read_byte());
  return true;
}

bool ends_label(std::uint8_t c) {
  return c == 13 || c == ';' || c == '&';
}

// The exact search, reading the quest from its top.
void search_label(InterpreterState& s, const std::string& name) {
  open_aux_on_quest(s);
  findlabel(s, name, false);
  s.aux_file.close();
}

// Marks, in the check cache, that it holds every label an exact search finds. No such name
// is ever looked up there: names holding ":" are searched by reading.
const std::string kGatheredMark = ":";

// The text after a ":" up to the end of its label, split at each further ":" into parts
// (lower-cased, without blanks and control characters); false when the quest ends first.
bool read_label_parts(InterpreterState& s, std::vector<std::string>& parts) {
  parts.assign(1, std::string());
  std::uint8_t c = 0;
  while (aux_read(s, c)) {
    if (c <= 32 && c != 13) continue;
    if (ends_label(c)) return true;
    if (c == ':') {
      parts.emplace_back();
    } else {
      parts.back().push_back(static_cast<char>(lowcase(c)));
    }
  }
  return false;
}

// Whether an exact search for the last part gets to try it. A search for a name that begins
// with a part stops on the ":" after that part, and that ":" then starts no label of its own.
bool last_part_reached(const std::vector<std::string>& parts) {
  const std::string& name = parts.back();
  std::size_t i = 0;
  const std::size_t last = parts.size() - 1;
  while (i < last)
    i += name.starts_with(parts[i]) ? 2 : 1;
  return i == last;
}

// Moves aux_file past its next ":"; false at its end. Outside ".qs1" files a ":" is the same
// byte before and after the code-page conversion, so the raw bytes are searched.
bool skip_past_colon(InterpreterState& s) {
  std::uint8_t c = 0;
  if (s.qs1_file) {
    while (aux_read(s, c))
      if (c == ':') return true;
    return false;
  }
  const QuestImage& image = *s.aux_file.image();
  const char* start = image.bytes.data();
  const void* hit = std::memchr(start + s.aux_file.pos(), ':', image.end - s.aux_file.pos());
  if (!hit) {
    s.aux_file.seek(image.end);
    return false;
  }
  s.aux_file.seek(static_cast<std::size_t>(static_cast<const char*>(hit) - start) + 1);
  return true;
}

// Every name that an exact search finds, gathered in one reading of the quest.
void gather_found_labels(InterpreterState& s) {
  open_aux_on_quest(s);
  std::vector<std::string> parts;
  while (skip_past_colon(s)) {
    if (!read_label_parts(s, parts)) break;
    if (last_part_reached(parts)) s.label_check_cache[parts.back()] = true;
  }
  s.aux_file.close();
  s.label_check_cache[kGatheredMark] = true;
}

// Whether reading the quest from `from` to `to` meets a character that reads as the end
// marker: only a DOS code page quest can hold one (0xFE, or "!" in a ".qs1" file).
bool end_marker_between(const InterpreterState& s, std::size_t from, std::size_t to) {
  if (s.codepage_w) return false;
  const char* bytes = s.quest_file.image()->bytes.data();
  return std::memchr(bytes + from, s.qs1_file ? '!' : '\xFE', to - from) != nullptr;
}

// A walk over the quest's characters that counts lines and columns as getchar does, without
// moving the reader or polling the keyboard.
struct QuestWalk {
  const InterpreterState& s;
  const QuestImage& image;
  std::size_t pos = 0;
  std::int32_t line_no = 1;
  std::int32_t line_pos = 0;
  std::uint8_t c = 0;

  void next() {
    if (pos >= image.end) {
      c = kEndOfFile;
      return;
    }
    ++line_pos;
    c = decode_quest_byte(s, static_cast<std::uint8_t>(image.bytes[pos++]));
    if (c != 13) return;
    ++pos;
    ++line_no;
    line_pos = 0;
    c = kEndOfLine;
  }
  ReaderMark mark() const { return ReaderMark{pos, c, line_no, line_pos}; }
};

// The label after a ":" as a jump reads it, split at each further ":"; false when the end
// of the quest comes first.
bool walk_label_parts(QuestWalk& walk, std::vector<std::string>& parts) {
  parts.assign(1, std::string());
  for (;;) {
    do {
      walk.next();
    } while (walk.c <= 32);
    if (walk.c == kEndOfFile) return false;
    if (walk.c == kEndOfLine || walk.c == ';' || walk.c == '&') return true;
    if (walk.c == ':') {
      parts.emplace_back();
    } else {
      parts.back().push_back(static_cast<char>(lowcase(walk.c)));
    }
  }
}

// Where a jump finds each label, gathered in one walk over the quest: the first label of each
// name that a search for that name gets to try.
void gather_jump_marks(InterpreterState& s) {
  QuestWalk walk{s, *s.quest_file.image()};
  std::vector<std::string> parts;
  for (;;) {
    do {
      walk.next();
    } while (walk.c != ':' && walk.c != kEndOfFile);
    if (walk.c == kEndOfFile || !walk_label_parts(walk, parts)) break;
    if (last_part_reached(parts)) s.jump_cache.try_emplace(parts.back(), true, walk.mark());
  }
  s.jump_cache[kGatheredMark] = LabelHit{};
}

// The walk reads as a jump does only over a quest whose every CR has its LF and that holds
// no end marker, which a search reads either as the end or as the start of a label.
bool can_gather_jumps(const InterpreterState& s, const std::string& name) {
  const QuestImage& image = *s.quest_file.image();
  return image.clean_line_ends && name.find(':') == std::string::npos &&
         !s.jump_cache.count(kGatheredMark) && !end_marker_between(s, 0, image.end);
}

// Puts the reader where a jump to `name` ends, when that is known without reading: from an
// earlier jump, or from the gathering. False when the quest must be read.
bool jump_to_known_label(InterpreterState& s, const std::string& name) {
  if (s.direct_reads) return false;
  auto hit = s.jump_cache.find(name);
  if (hit == s.jump_cache.end() && can_gather_jumps(s, name)) {
    gather_jump_marks(s);
    hit = s.jump_cache.find(name);
  }
  if (hit == s.jump_cache.end()) return false;
  restore(s, hit->second.mark);
  if (s.line_no > 1) poll_break(s);
  return true;
}

}  // namespace

ReaderMark reader_mark(const InterpreterState& s) {
  return ReaderMark{s.quest_file.pos(), s.cur_char, s.line_no, s.line_pos};
}

void gotolabel(InterpreterState& s, const std::string& name) {
  if (name.empty()) reporterror(s, "[gotolabel] LABELNAME expected");
  if (s.syntax_level == 1) return;
  if (s.syntax_level == 2) return check_label(s, name);
  if (!reopen_quest(s)) reporterror(s, "[gotolabel] file <" + shown_quest_name(s) + "> not open");
  if (!jump_to_known_label(s, name)) {
    scan_to_label(s, name);
    if (!s.direct_reads) s.jump_cache[name] = LabelHit{true, reader_mark(s)};
  }
  var_value(s, "$" + name) += 1.0;
}

std::string findlabel(InterpreterState& s, const std::string& wanted, bool prefix) {
  const std::size_t n = wanted.size();
  std::uint8_t c = 0;
  for (;;) {
    bool more = true;
    while ((more = aux_read(s, c)) && c != ':') {
    }
    if (!more) break;
    std::string name = wanted;
    std::size_t k = 0;
    for (;;) {
      while ((more = aux_read(s, c)) && c <= 32 && c != 13) {
      }
      if (more) c = lowcase(c);
      ++k;
      if (prefix && k > n && more) name.push_back(static_cast<char>(c));
      if (!(more && k <= name.size() && static_cast<std::uint8_t>(name[k - 1]) == c &&
            !ends_label(c)))
        break;
    }
    if (more && k > n && ends_label(c)) {
      if (prefix) name.pop_back();
      return name;
    }
    if (!more) break;
  }
  if (!prefix) reporterror(s, "[findlabel] label <" + wanted + "> not found");
  return {};
}

void open_aux_on_quest(InterpreterState& s) {
  const auto& image = s.quest_file.image();
  if (image && !quest_image_stale(*image, s.quest_name)) {
    s.aux_file.open_image(image);
    return;
  }
  if (!s.aux_file.open(s.quest_name)) io_failure(s.quest_name, "cannot be opened again");
}

void check_label(InterpreterState& s, const std::string& name) {
  const auto& image = s.quest_file.image();
  bool gathered = !s.direct_reads && name.find(':') == std::string::npos && image &&
                  !quest_image_stale(*image, s.quest_name);
  if (!gathered) return search_label(s, name);
  sync_caches(s);
  if (s.label_check_cache.count(name)) return;  // only the gathering fills the cache
  if (!s.label_check_cache.count(kGatheredMark)) gather_found_labels(s);
  if (!s.label_check_cache.count(name))
    reporterror(s, "[findlabel] label <" + name + "> not found");
}

void call(InterpreterState& s, const std::string& name, const ReaderMark* resume) {
  if (s.syntax_level == 0) {
    if (s.call_depth >= kCallStackSize) reporterror(s, "[call] STACK OUT");
    auto depth = static_cast<std::size_t>(s.call_depth);
    s.call_stack[depth] = s.line_no;
    ResumePoint& point = s.resume_points[depth];
    point.valid = resume != nullptr;
    if (resume) {
      point.mark = *resume;
      point.version = s.quest_file.image() ? s.quest_file.image()->version : 0;
    }
    ++s.call_depth;
    if (s.call_depth > kMaxCalls) reporterror(s, "[call] STACK OUT");
  }
  gotolabel(s, name);
}

namespace {

// The start of line t by the index of line starts, when reading there would meet nothing
// but characters; npos when the quest must be read.
std::size_t indexed_line_start(const InterpreterState& s, std::int32_t t) {
  const auto& image = s.quest_file.image();
  if (s.direct_reads || !image || !image->clean_line_ends || s.line_no >= t)
    return std::string::npos;
  if (static_cast<std::size_t>(t - 1) >= image->line_starts.size()) return std::string::npos;
  std::size_t start = image->line_starts[static_cast<std::size_t>(t - 1)];
  return end_marker_between(s, s.quest_file.pos(), start) ? std::string::npos : start;
}

// Reads forward to the start of line t, by the index of line starts when it can be trusted.
void read_to_line(InterpreterState& s, std::int32_t t) {
  std::size_t start = indexed_line_start(s, t);
  if (start != std::string::npos) {
    restore(s, ReaderMark{start, kEndOfLine, t, 0});
    poll_break(s);
    return;
  }
  getchar(s);
  while (s.line_no < t && s.cur_char != kEndOfFile)
    getchar(s);
  if (s.line_no < t) reporterror(s, "[end] return line <" + std::to_string(t) + "> not found");
}

}  // namespace

void return_from_call(InterpreterState& s) {
  if (s.call_depth <= 0) return;
  --s.call_depth;
  auto depth = static_cast<std::size_t>(s.call_depth);
  std::int32_t t = s.call_stack[depth];
  ResumePoint point = s.resume_points[depth];
  s.resume_points[depth].valid = false;
  const auto& image = s.quest_file.image();
  if (point.valid && image && point.version == image->version) return restore(s, point.mark);
  if (s.line_no > t && !reopen_quest(s)) io_failure(s.quest_name, "cannot be opened again");
  read_to_line(s, t);
}

}  // namespace tindel
