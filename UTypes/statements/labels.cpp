#include "UTypes/statements/labels.h"

#include "UTypes/charset/codepage.h"
#include "UTypes/console/console.h"
#include "UTypes/console/console_ops.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/source/scanner.h"
#include "UTypes/state/program_end.h"
#include "UTypes/statements/label_index.h"

namespace tindel {

namespace {

// The caches describe one version of the quest file; a new version empties them.
void sync_caches(InterpreterState& s) {
  std::uint64_t version = s.quest_file.image() ? s.quest_file.image()->version : 0;
  if (version == s.cache_version) return;
  s.jump_cache.clear();
  s.label_check_cache.clear();
  s.colon_labels = {};
  s.cache_version = version;
}

// Reopens the quest for reading from its start (reading the disk only if it changed).
bool reopen_quest(InterpreterState& s) {
  if (!s.quest_file.open(s.quest_name)) return false;
  sync_caches(s);
  s.line_pos = 0;
  s.line_no = 1;
  return true;
}

// Reads the reader forward to the label line of `name`, as a jump from the file's top does.
void scan_to_label(InterpreterState& s, const std::string& name) {
  ++s.label_reads;
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

// The exact search, reading the quest from its top.
void search_label(InterpreterState& s, const std::string& name) {
  ++s.label_reads;
  open_aux_on_quest(s);
  findlabel(s, name, false);
  s.aux_file.close();
}

}  // namespace

ReaderMark reader_mark(const InterpreterState& s) {
  return ReaderMark{s.quest_file.pos(), s.cur_char, s.line_no, s.line_pos};
}

void restore_mark(InterpreterState& s, const ReaderMark& mark) {
  s.quest_file.seek(mark.pos);
  s.cur_char = mark.cur_char;
  s.line_no = mark.line_no;
  s.line_pos = mark.line_pos;
}

void poll_break(InterpreterState& s) {
  if (s.con_in->pollbreak() == key::kEscape) reporterror(s, "[getchar] BREAK", exit_status::kOk);
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

// The quest as the reader has it: a label search reads what a jump would read.
void open_aux_on_quest(InterpreterState& s) {
  const auto& image = s.quest_file.image();
  if (image) {
    s.aux_file.open_image(image);
    return;
  }
  if (!s.aux_file.open(s.quest_name)) io_failure(s.quest_name, "cannot be opened again");
}

void check_label(InterpreterState& s, const std::string& name) {
  if (s.direct_reads || !s.quest_file.image()) return search_label(s, name);
  sync_caches(s);
  if (!found_labels_ready(s)) return search_label(s, name);
  if (!indexed_label_exists(s, name)) reporterror(s, "[findlabel] label <" + name + "> not found");
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
  const std::vector<std::uint32_t>& starts = image->line_starts();
  if (static_cast<std::size_t>(t - 1) >= starts.size()) return std::string::npos;
  std::size_t start = starts[static_cast<std::size_t>(t - 1)];
  return end_marker_between(s, s.quest_file.pos(), start) ? std::string::npos : start;
}

// Reads forward to the start of line t, by the index of line starts when it can be trusted.
void read_to_line(InterpreterState& s, std::int32_t t) {
  std::size_t start = indexed_line_start(s, t);
  if (start != std::string::npos) {
    restore_mark(s, ReaderMark{start, kEndOfLine, t, 0});
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
  if (point.valid && image && point.version == image->version) return restore_mark(s, point.mark);
  if (s.line_no > t && !reopen_quest(s)) io_failure(s.quest_name, "cannot be opened again");
  read_to_line(s, t);
}

}  // namespace tindel
