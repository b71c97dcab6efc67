#include "author/check_run.h"

#include <memory>

#include "UTypes/console/console_ops.h"
#include "UTypes/console/cp866.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/media/media_player.h"
#include "UTypes/source/codepage.h"
#include "UTypes/source/scanner.h"
#include "UTypes/state/interpreter_state.h"
#include "UTypes/statements/parser.h"
#include "author/silent_console.h"

namespace tindel::author {

namespace {

// Thrown by the watcher after it has recorded an error: the check goes on after the line.
struct ResumeAfterError {
  int line = 1;  // the line on which the failing statement (or the bad character) stands
};

// Errors of the scanner name the bad character; all others the statement that failed.
bool names_a_character(std::string_view message) {
  return message.starts_with("[getchar]") || message.starts_with("[getnumb]");
}

class Watcher : public CheckObserver {
 public:
  explicit Watcher(CheckRecord& record) : record_(record) {}

  void begin_statement(const InterpreterState& s) {
    SeenStatement st;
    st.kind = s.token_kind;
    st.text = s.token_text;
    st.start = s.token_start;
    record_.statements.push_back(std::move(st));
  }

  void error(InterpreterState& s, std::string_view message) override {
    SourcePlace place = names_a_character(message) || record_.statements.empty()
                            ? SourcePlace{s.line_no, s.line_pos > 0 ? s.line_pos : 1}
                            : record_.statements.back().start;
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
    last_token_ = SeenToken{s.token_kind, s.token_text, s.token_start};
    note_label_line(s);
    if (record_.statements.empty()) return;
    SeenStatement& st = record_.statements.back();
    if (st.tokens.size() < kKeptTokens) st.tokens.push_back(last_token_);
    ++st.token_count;
  }

  void lookup(InterpreterState&, std::string_view key) override {
    if (key.empty()) return;  // a fresh slot for a string's text
    // A bare name is tried as a number, an item and a string in turn: one read.
    if (!record_.lookups.empty()) {
      const SeenLookup& last = record_.lookups.back();
      if (last.statement == current() && last.place.line == last_token_.start.line &&
          last.place.column == last_token_.start.column && last.key.substr(1) == key.substr(1))
        return;
    }
    record_.lookups.push_back({std::string(key), last_token_.start,
                               static_cast<int>(last_token_.text.size()), current()});
  }

  void set_line_starts(std::vector<std::size_t> starts) { starts_ = std::move(starts); }
  void set_image(const QuestImage* image) { image_ = image; }

 private:
  std::size_t current() const {
    return record_.statements.empty() ? 0 : record_.statements.size() - 1;
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

  CheckRecord& record_;
  SeenToken last_token_;
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

void record_results(const InterpreterState& s, SeenStatement& st, int btn_count_before) {
  st.result = s.str_result;
  st.common_after = s.common_name;
  if (st.kind == TokenKind::Btn)
    st.caption =
        s.btn_captions[static_cast<std::size_t>(std::min(btn_count_before, kMaxButtons))].str();
}

}  // namespace

std::vector<std::size_t> scanner_line_starts(std::string_view bytes) {
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r') continue;
    if (i + 1 < bytes.size() && bytes[i + 1] == '\n') starts.push_back(i + 2);
    ++i;  // the scanner takes the byte after a CR with it, whatever it is
  }
  return starts;
}

PreparedQuest prepare_quest(std::string_view bytes, const LintOptions& options) {
  if (options.codepage == 'u') return PreparedQuest{utf8_to_cp866(bytes), false, false};
  return PreparedQuest{std::string(bytes), options.codepage != 'd', options.qs1};
}

std::string to_utf8(std::string_view cp866) {
  return cp866_to_display(cp866, true);
}

CheckRecord run_check(const PreparedQuest& quest) {
  CheckRecord record;
  auto state = std::make_unique<InterpreterState>();
  InterpreterState& s = *state;
  SilentConsole console;
  SilentMedia media;
  set_up(s, quest, console, media);
  auto image = quest_image_from_bytes(quest.bytes);
  s.quest_file.open_image(image);
  std::vector<std::size_t> starts =
      scanner_line_starts(std::string_view(image->bytes).substr(0, image->end));
  record.line_count = static_cast<int>(starts.size());
  Watcher watcher(record);
  watcher.set_line_starts(starts);
  watcher.set_image(image.get());
  s.check_observer = &watcher;

  auto read_on = [&] { gettoken(s); };
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
      record_results(s, record.statements.back(), btn_count);
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
