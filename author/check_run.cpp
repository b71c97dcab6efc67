#include "author/check_run.h"

#include <algorithm>
#include <array>
#include <memory>
#include <unordered_map>

#include "UTypes/charset/codepage.h"
#include "UTypes/charset/cp866.h"
#include "UTypes/console/console_ops.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/media/media_player.h"
#include "UTypes/source/scanner.h"
#include "UTypes/state/interpreter_state.h"
#include "UTypes/statements/parser.h"
#include "author/index_builder.h"
#include "author/silent_console.h"

namespace tindel::author {

namespace {

// Thrown by the watcher after it has recorded an error: the check goes on after the line.
struct ResumeAfterError {
  int line = 1;  // the line on which the failing statement (or the bad character) stands
};

constexpr std::size_t kTextKept = 160;  // of a printed text: enough for a map's node

// The statements whose first tokens the index and the warnings read: their label, name or
// constant.
bool keeps_tokens(const SeenStatement& st) {
  switch (st.kind) {
    case TokenKind::Btn:
    case TokenKind::Goto:
    case TokenKind::Proc:
    case TokenKind::Input:
    case TokenKind::Music:
      return true;
    default:
      return st.text == "image";
  }
}

StatementDetail& detail_of(CheckRecord& record, SeenStatement& st) {
  if (st.detail == kNoDetail) {
    st.detail = static_cast<std::uint32_t>(record.details.size());
    record.details.emplace_back();
  }
  return record.details[st.detail];
}

class Watcher : public CheckObserver {
 public:
  explicit Watcher(CheckRecord& record) : record_(record) {}

  void begin_statement(const InterpreterState& s) {
    SeenStatement& st = record_.statements.emplace_back();
    st.kind = s.token_kind;
    st.text = s.token_text;
    st.start = s.token_start;
  }

  void error(InterpreterState& s, std::string_view message) override {
    SourcePlace place = place_of_error(s, message);
    if (!record_.statements.empty()) record_.statements.back().failed = true;
    record_.diagnostics.push_back({place, Severity::error, std::string(message), current()});
    throw ResumeAfterError{place.line};
  }

  void warning(InterpreterState& s, std::string_view tail) override {
    SourcePlace place =
        record_.statements.empty() ? SourcePlace{s.line_no, 1} : record_.statements.back().start;
    std::size_t first = tail.find_first_not_of(", ");
    std::string text(first == std::string_view::npos ? tail : tail.substr(first));
    record_.diagnostics.push_back({place, Severity::warning, text, current()});
  }

  void token(InterpreterState& s) override {
    last_token_ = TokenPlace{s.token_start, static_cast<std::int32_t>(s.token_text.size())};
    note_label_line(s);
    if (record_.statements.empty()) return;
    SeenStatement& st = record_.statements.back();
    if (st.token_count < kKeptTokens && keeps_tokens(st)) {
      StatementDetail& detail = detail_of(record_, st);
      detail.tokens[detail.tokens_kept++] = SeenToken{s.token_kind, s.token_text, s.token_start};
    }
    ++st.token_count;
  }

  void lookup(InterpreterState&, std::string_view key) override {
    if (key.empty()) return;  // a fresh slot for a string's text
    // A bare name is tried as a number, an item and a string in turn: one read.
    if (!record_.lookups.empty()) {
      const SeenLookup& last = record_.lookups.back();
      if (last.statement == current() && last.place.line == last_token_.start.line &&
          last.place.column == last_token_.start.column &&
          std::string_view(record_.key_of(last)).substr(1) == key.substr(1))
        return;
    }
    record_.lookups.push_back({last_token_.start, key_id(key), last_token_.length,
                               static_cast<std::uint32_t>(current())});
  }

  // A bad line end where the scanner stands; a number too long where its token begins (the
  // scanner has read past it); anything else where the failing statement begins.
  SourcePlace place_of_error(const InterpreterState& s, std::string_view message) const {
    if (message.starts_with("[getnumb]")) return s.token_start;
    if (message.starts_with("[getchar]") || record_.statements.empty())
      return SourcePlace{s.line_no, s.line_pos > 0 ? s.line_pos : 1};
    return record_.statements.back().start;
  }

  void set_line_starts(std::vector<std::size_t> starts) { starts_ = std::move(starts); }
  void set_image(const QuestImage* image) { image_ = image; }

 private:
  std::size_t current() const {
    return record_.statements.empty() ? 0 : record_.statements.size() - 1;
  }

  // The number of a key in the record's list, given when it is first looked up.
  // A small table of recent keys goes first: most lookups are of a few names.
  std::uint32_t key_id(std::string_view key) {
    RecentKey& recent = recent_keys_[recent_slot(key)];
    if (recent.id < record_.keys.size() && record_.keys[recent.id] == key) return recent.id;
    auto known = key_ids_.find(key);
    if (known != key_ids_.end()) return recent.id = known->second;
    auto id = static_cast<std::uint32_t>(record_.keys.size());
    record_.keys.emplace_back(key);
    key_ids_.emplace(record_.keys.back(), id);
    return recent.id = id;
  }

  static std::size_t recent_slot(std::string_view key) {
    std::size_t mixed = key.size() * 131;
    for (std::size_t i = 0; i < key.size(); i += 3)
      mixed = mixed * 31 + static_cast<unsigned char>(key[i]);
    return mixed % kRecentKeys;
  }

  // A line end that the scanner read from a ":" is a label line.
  void note_label_line(InterpreterState& s) {
    if (s.token_kind != TokenKind::Newline || !s.token_text.empty()) return;
    SourcePlace at = s.token_start;
    if (at.line < 1 || static_cast<std::size_t>(at.line) > starts_.size() || at.column < 1) return;
    std::size_t pos =
        starts_[static_cast<std::size_t>(at.line - 1)] + static_cast<std::size_t>(at.column - 1);
    if (pos >= image_->end || decode_quest_byte(s, byte_at(pos)) != ':') return;
    record_.labels.push_back(read_label(s, pos, at));
  }

  std::uint8_t byte_at(std::size_t pos) const {
    return static_cast<std::uint8_t>(image_->bytes[pos]);
  }

  // The label after the ":" at pos, as a jump compares it: blanks dropped, lower-cased, up to
  // the line end, ";" or "&".
  LabelLine read_label(const InterpreterState& s, std::size_t pos, SourcePlace at) const {
    LabelLine label{{}, at, 1};
    for (std::size_t i = pos + 1; i < image_->end; ++i) {
      std::uint8_t c = decode_quest_byte(s, byte_at(i));
      if (c == 13 || c == ';' || c == '&') break;
      if (c > 32) {
        label.name.push_back(static_cast<char>(lowcase(c)));
        label.length = static_cast<int>(i - pos + 1);
      }
    }
    return label;
  }

  // Keys are looked up by a view of the text; std::string_view hashes the same as a string.
  struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const {
      return std::hash<std::string_view>{}(key);
    }
  };
  // Where the last token stands, for the lookups it makes.
  struct TokenPlace {
    SourcePlace start;
    std::int32_t length = 0;
  };
  struct RecentKey {
    std::uint32_t id = UINT32_MAX;
  };
  static constexpr std::size_t kRecentKeys = 256;
  CheckRecord& record_;
  TokenPlace last_token_;
  std::array<RecentKey, kRecentKeys> recent_keys_{};
  std::unordered_map<std::string, std::uint32_t, KeyHash, std::equal_to<>> key_ids_;
  std::vector<std::size_t> starts_;
  const QuestImage* image_ = nullptr;
};

void set_up(InterpreterState& s, const PreparedQuest& quest, Console& console, MediaPlayer& media) {
  for (int i = 0; i < kTokenKinds; ++i)
    s.token_names[static_cast<std::size_t>(i)] = default_token_name(static_cast<TokenKind>(i));
  coninit(s, console);
  s.media = &media;
  s.syntax_level = 2;
  s.codepage_w = quest.codepage_w;
  s.qs1_file = quest.qs1;
  s.quest_name = "quest";
  create_system_variables(s);
  s.call_depth = 0;
  s.line_no = 1;
  s.line_pos = 0;
}

// Puts the reader at the start of `line` (after the end of the line before it).
void resume_at_line(InterpreterState& s, const std::vector<std::size_t>& starts, int line) {
  if (line < 1 || static_cast<std::size_t>(line) > starts.size()) {
    s.quest_file.seek(s.quest_file.image()->end);
    s.cur_char = kEndOfFile;
  } else {
    s.quest_file.seek(starts[static_cast<std::size_t>(line - 1)]);
    s.cur_char = ' ';
  }
  s.line_no = line;
  s.line_pos = 0;
}

// Reads a token; after an error the check goes on at the start of the following line.
template <typename Step>
bool run_step(InterpreterState& s, const std::vector<std::size_t>& starts, Step step) {
  try {
    step();
    return true;
  } catch (const ResumeAfterError& resume) {
    resume_at_line(s, starts, resume.line + 1);
    return false;
  }
}

// The first line of a printed text, as far as a map's node shows it.
std::string first_text_line(const std::string& text) {
  return text.substr(0, std::min(text.find_first_of("\r\n"), kTextKept));
}

// What the index and the warnings read of a statement that has run; a statement that only
// separated is not kept unless something refers to it.
// named_location: the label line whose location has its first text already.
void record_results(const InterpreterState& s, CheckRecord& record, int btn_count_before,
                    std::size_t& named_location) {
  SeenStatement& st = record.statements.back();
  std::size_t index = record.statements.size() - 1;
  bool referred = (!record.lookups.empty() && record.lookups.back().statement == index) ||
                  (!record.diagnostics.empty() && record.diagnostics.back().statement == index);
  if (is_separator_only(st) && !referred) return record.statements.pop_back();
  if (st.kind == TokenKind::P || st.kind == TokenKind::Pln) {
    // Only the first text with something on its first line names a location on a map.
    if (named_location == record.labels.size()) return;
    std::string line = first_text_line(s.str_result);
    if (line.find_first_not_of(' ') != std::string::npos) named_location = record.labels.size();
    detail_of(record, st).result = std::move(line);
  }
  if (st.kind == TokenKind::Play) detail_of(record, st).result = s.str_result;
  if (st.kind == TokenKind::Common) detail_of(record, st).result = s.common_name;
  if (st.kind == TokenKind::Btn)
    detail_of(record, st).result =
        s.btn_captions[static_cast<std::size_t>(std::min(btn_count_before, kMaxButtons))].str();
}

}  // namespace

std::span<const SeenToken> CheckRecord::tokens_of(const SeenStatement& st) const {
  if (st.detail == kNoDetail) return {};
  const StatementDetail& detail = details[st.detail];
  return std::span<const SeenToken>(detail.tokens).first(detail.tokens_kept);
}

const std::string& CheckRecord::result_of(const SeenStatement& st) const {
  static const std::string none;
  return st.detail == kNoDetail ? none : details[st.detail].result;
}

std::vector<std::size_t> scanner_line_starts(std::string_view bytes) {
  std::vector<std::size_t> starts{0};
  for (std::size_t i = bytes.find('\r'); i != std::string_view::npos; i = bytes.find('\r', i)) {
    if (i + 1 < bytes.size() && bytes[i + 1] == '\n') starts.push_back(i + 2);
    i += 2;  // the scanner takes the byte after a CR with it, whatever it is
  }
  return starts;
}

PreparedQuest prepare_quest(std::string_view bytes, const LintOptions& options) {
  QuestTextForm form{options.codepage == 'u', options.qs1};
  return PreparedQuest{quest_image_from_bytes(std::string(bytes), form), options.codepage == 'w',
                       options.qs1};
}

std::string to_utf8(std::string_view cp866) {
  // Printable ASCII is the same in both: most names and captions need no conversion.
  bool ascii =
      std::all_of(cp866.begin(), cp866.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
  return ascii ? std::string(cp866) : cp866_to_display(cp866, true);
}

CheckRecord run_check(const PreparedQuest& quest) {
  CheckRecord record;
  auto state = std::make_unique<InterpreterState>();
  InterpreterState& s = *state;
  SilentConsole console;
  SilentMedia media;
  set_up(s, quest, console, media);
  const auto& image = quest.image;
  s.quest_file.open_image(image);
  // The image counts the lines unless a CR stands without its LF.
  std::vector<std::size_t> starts =
      image->clean_line_ends
          ? std::vector<std::size_t>(image->line_starts().begin(), image->line_starts().end())
          : scanner_line_starts(quest.bytes());
  // A last line end opens no line of its own.
  bool ends_with_line_end = starts.size() > 1 && starts.back() == image->end;
  record.line_count = static_cast<int>(starts.size() - (ends_with_line_end ? 1 : 0));
  // Generous guesses of how many statements and lookups a quest of this size holds: pages of
  // the reserve that are never written are never mapped in, and no copy grows the vectors.
  record.statements.reserve(image->end / 8);
  record.lookups.reserve(image->end / 8);
  record.details.reserve(image->end / 32);
  Watcher watcher(record);
  watcher.set_line_starts(starts);
  watcher.set_image(image.get());
  s.check_observer = &watcher;

  auto read_on = [&] { gettoken(s); };
  std::size_t named_location = SIZE_MAX;
  if (!run_step(s, starts, [&] {
        getchar(s);
        gettoken(s);
      }))
    while (!run_step(s, starts, read_on)) {
    }
  // A name standing right before the end of the quest is still a statement (a bare name).
  while (s.token_kind != TokenKind::Eof || !s.token_text.empty()) {
    bool ok = run_step(s, starts, [&] {
      watcher.begin_statement(s);
      int btn_count = s.btn_count;
      parser(s);
      record_results(s, record, btn_count, named_location);
    });
    // Every failed read resumes on a later line, so this ends at the end of the quest.
    if (!ok)
      while (!run_step(s, starts, read_on)) {
      }
  }
  s.check_observer = nullptr;
  return record;
}

}  // namespace tindel::author
