#include "UTypes/source/scanner.h"

#include <array>
#include <charconv>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "UTypes/charset/codepage.h"
#include "UTypes/console/console.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/source/keywords.h"
#include "UTypes/source/token_memo.h"
#include "UTypes/state/program_end.h"

namespace tindel {

namespace {

constexpr int kMaxIntegerDigits = 30;

enum CharClass : std::uint8_t { kOther, kLetter, kDigit };

// Letters: A-Z, a-z, "_" and the bytes 0x80..0xF1 (0xF2..0xFD are not letters).
constexpr std::array<CharClass, 256> make_classes() {
  std::array<CharClass, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    bool letter =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= 0x80 && c <= 0xF1) || c == '_';
    classes[static_cast<std::size_t>(c)] = letter                   ? kLetter
                                           : (c >= '0' && c <= '9') ? kDigit
                                                                    : kOther;
  }
  return classes;
}

constexpr std::array<CharClass, 256> kClasses = make_classes();

bool is_letter(std::uint8_t c) {
  return kClasses[c] == kLetter;
}
bool is_digit(std::uint8_t c) {
  return kClasses[c] == kDigit;
}

// After a decoded CR: its LF, the line count, and the player's chance to break off.
[[gnu::noinline]] void end_of_line(InterpreterState& s) {
  if (s.quest_file.at_end() || s.quest_file.read_byte() != 10)
    reporterror(s, "[getchar] <NEWLINE> #10 expected");
  ++s.line_no;
  s.line_pos = 0;
  s.cur_char = kEndOfLine;
  if (s.token_memo.recording) memo_line_end(s);
  if (s.con_in->pollbreak() == key::kEscape) reporterror(s, "[getchar] BREAK", exit_status::kOk);
}

const ByteMap& decoding(const InterpreterState& s) {
  return kDecodingMaps[decoding_index(s.qs1_file, s.codepage_w)];
}

// The character classes the scanner's loops keep reading over, as tables of the raw bytes of
// the quest under one decoding (1 where the decoded character is kept), so that a loop looks
// up each byte once. A CR is in none of them: its line end is read by getchar's rule.
struct RawClasses {
  ByteMap word{};        // letters and digits
  ByteMap digit{};       // 0-9
  ByteMap blank{};       // 32 and below
  ByteMap line{};        // anything before the end of the line or of the quest
  ByteMap label_line{};  // the same, "&" excepted
  ByteMap text{};        // the text of p and pln: up to "&", "#" or a line end
  ByteMap folded{};      // the decoded character lower-cased, as a word keeps it
};

constexpr RawClasses make_raw_classes(bool qs1, bool codepage_w) {
  const ByteMap map = decoding_map(qs1, codepage_w);
  RawClasses k;
  for (std::size_t b = 0; b < 256; ++b) {
    std::uint8_t c = map[b];
    bool in_line = c < kEndOfFile && c != 13;
    k.word[b] = kClasses[c] != kOther;
    k.digit[b] = kClasses[c] == kDigit;
    k.blank[b] = c <= 32 && c != 13;
    k.line[b] = in_line;
    k.label_line[b] = in_line && c != '&';
    k.text[b] = in_line && c != '&' && c != '#';
    k.folded[b] = lowcase(c);
  }
  return k;
}

constexpr std::array<RawClasses, 4> kRawClasses = {
    make_raw_classes(false, false), make_raw_classes(false, true), make_raw_classes(true, false),
    make_raw_classes(true, true)};

const RawClasses& raw_classes(const InterpreterState& s) {
  return kRawClasses[decoding_index(s.qs1_file, s.codepage_w)];
}

// The bytes whose characters advance_while kept: `count` of them from `first`.
struct KeptRun {
  std::size_t first = 0;
  std::size_t count = 0;
};

// Calls getchar as long as the character it gives is of the class `keep` (a table of
// RawClasses, which never keeps a CR), in a loop over the quest's bytes that keeps the
// reader in registers; cur_char is then the first character refused, or the end-of-file
// marker. A CR refused is left for the caller to finish with finish_line_end once what it
// read is where an error report expects it.
KeptRun advance_while(InterpreterState& s, const ByteMap& keep) {
  QuestFile& file = s.quest_file;
  const std::uint8_t* bytes = file.data();
  const std::size_t first = file.pos(), end = file.end();
  std::size_t pos = first;
  while (pos < end && keep[bytes[pos]])
    ++pos;
  const bool refused = pos < end;
  s.cur_char = refused ? decoding(s)[bytes[pos]] : kEndOfFile;
  const std::size_t kept = pos - first;
  pos += refused;  // the refused character is the current one now
  file.seek(pos);
  s.line_pos += static_cast<std::int32_t>(pos - first);
  return KeptRun{first, kept};
}

void finish_line_end(InterpreterState& s) {
  if (s.cur_char == 13) end_of_line(s);
}

// Appends the characters of a run that advance_while kept, each raw byte through `map`.
void append_kept(const InterpreterState& s, KeptRun run, const ByteMap& map, std::string& out) {
  const std::uint8_t* bytes = s.quest_file.data() + run.first;
  std::size_t at = out.size();
  out.resize(at + run.count);
  char* to = out.data() + at;
  for (std::size_t i = 0; i < run.count; ++i)
    to[i] = static_cast<char>(map[bytes[i]]);
}

// How many of the characters after cur_char are of the class `keep`, without reading them.
std::size_t count_ahead(const InterpreterState& s, const ByteMap& keep) {
  const std::uint8_t* bytes = s.quest_file.data();
  std::size_t pos = s.quest_file.pos();
  const std::size_t first = pos, end = s.quest_file.end();
  while (pos < end && keep[bytes[pos]])
    ++pos;
  return pos - first;
}

// Every character up to 32 is a blank; a line end gives the marker, which is not one.
void skip_blanks(InterpreterState& s) {
  if (s.cur_char > 32) return;
  advance_while(s, raw_classes(s).blank);
  finish_line_end(s);
}

// word: letter { letter | digit }, folded to lower case, appended to token_text
void read_word(InterpreterState& s) {
  auto first = static_cast<char>(lowcase(s.cur_char));
  const RawClasses& classes = raw_classes(s);
  KeptRun run = advance_while(s, classes.word);
  finish_line_end(s);  // an error there shows the operand text without this word
  std::string& text = s.token_text;
  std::size_t at = text.size();
  text.resize(at + 1 + run.count);
  char* to = text.data() + at;
  to[0] = first;
  const std::uint8_t* bytes = s.quest_file.data() + run.first;
  for (std::size_t i = 0; i < run.count; ++i)
    to[i + 1] = static_cast<char>(classes.folded[bytes[i]]);
}

// The digits from cur_char on, appended to token_text.
void read_digits(InterpreterState& s) {
  s.token_text.push_back(static_cast<char>(s.cur_char));
  append_kept(s, advance_while(s, raw_classes(s).digit), decoding(s), s.token_text);
  finish_line_end(s);  // an error there shows the digits read
}

// More than 30 digits before the point, read one by one up to the 31st, which is the error.
[[noreturn]] void too_many_digits(InterpreterState& s) {
  for (int count = 1;; ++count) {
    s.token_text.push_back(static_cast<char>(s.cur_char));
    getchar(s);
    if (count > kMaxIntegerDigits) reporterror(s, "[getnumb] to large number");
  }
}

// The word `system` stands for the text of the string variable `sys`. A distance that points
// outside the table gives an empty word.
std::string system_word(InterpreterState& s) {
  int slot = text_slot_of(s, getvar(s, "%sys"));
  std::string word;
  if (slot < 0) return word;
  for (char c : s.var_names[static_cast<std::size_t>(slot)].view()) {
    auto b = static_cast<std::uint8_t>(c);
    if (b > 32) word.push_back(static_cast<char>(lowcase(b)));
  }
  return word;
}

// word: a keyword becomes the token, any other word joins the operand text
void scan_word(InterpreterState& s) {
  std::size_t start = s.token_text.size();
  read_word(s);
  std::string_view word = std::string_view(s.token_text).substr(start);
  TokenKind kind = keyword_kind(word);
  if (word == "system") {
    if (s.token_memo.recording) memo_never(s);
    std::string meant = system_word(s);
    s.token_text.resize(start);
    kind = keyword_kind(meant);
    if (kind == TokenKind::Ident) s.token_text += meant;
  } else if (kind != TokenKind::Ident) {
    s.token_text.resize(start);
  }
  s.token_kind = kind;
}

// The digits after the decimal point, worth one tenth, one hundredth and so on; read as a
// whole so that every digit counts, however many zeros lead.
double fraction_value(std::string_view point_and_digits) {
  double fraction = 0.0;
  if (point_and_digits.size() <= 1) return fraction;
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
  std::from_chars(point_and_digits.data(), point_and_digits.data() + point_and_digits.size(),
                  fraction);
#else
  // A C++ library without floating-point from_chars (the page's): strtod rounds the same
  // way, and reads its '.' in the C locale that such a build never leaves.
  fraction = std::strtod(std::string(point_and_digits).c_str(), nullptr);
#endif
  return fraction;
}

// number: digit { digit } [ "." { digit } ]
void scan_number(InterpreterState& s) {
  if (1 + count_ahead(s, raw_classes(s).digit) > kMaxIntegerDigits) too_many_digits(s);
  std::size_t start = s.token_text.size();
  read_digits(s);
  s.number_value = 0.0;
  for (std::size_t i = start; i < s.token_text.size(); ++i)
    s.number_value = s.number_value * 10.0 + (s.token_text[i] - '0');
  if (s.token_memo.recording) memo_number(s, false);
  if (s.cur_char == '.') {
    getchar(s);
    std::size_t point = s.token_text.size();
    s.token_text.push_back('.');
    if (is_digit(s.cur_char)) read_digits(s);
    s.number_fraction = fraction_value(std::string_view(s.token_text).substr(point));
    s.number_value += s.number_fraction;
    if (s.token_memo.recording) memo_number(s, true);
  }
  s.token_kind = TokenKind::Number;
}

// A kind set before the character after it is read: a line end there sees this kind, which a
// remembered reading must know.
void set_kind_before_reading_on(InterpreterState& s, TokenKind kind) {
  s.token_kind = kind;
  if (s.token_memo.recording) s.token_memo.kind_written = true;
}

// Skips to the end-of-line or end-of-file marker (and to "&" on a label line), consumes it.
void skip_line(InterpreterState& s, bool stop_at_amp) {
  std::uint8_t c = s.cur_char;
  if (c < kEndOfFile && c != 13 && !(stop_at_amp && c == '&')) {
    const RawClasses& classes = raw_classes(s);
    advance_while(s, stop_at_amp ? classes.label_line : classes.line);
    finish_line_end(s);
  }
  set_kind_before_reading_on(s, TokenKind::Newline);
  getchar(s);
}

void take(InterpreterState& s, TokenKind kind) {
  set_kind_before_reading_on(s, kind);
  getchar(s);
}

// "<", "<>", "<=", ">" and ">="
void scan_comparison(InterpreterState& s, bool less) {
  getchar(s);
  if (less && s.cur_char == '>') return take(s, TokenKind::NotEqual);
  if (s.cur_char == '=') return take(s, less ? TokenKind::LessEqual : TokenKind::GreaterEqual);
  s.token_kind = less ? TokenKind::Less : TokenKind::Greater;
}

// The single characters that are tokens by themselves, and the two markers.
constexpr std::array<TokenKind, 256> make_delimiters() {
  std::array<TokenKind, 256> kinds{};
  constexpr std::pair<char, TokenKind> singles[] = {
      {'+', TokenKind::Plus},   {'-', TokenKind::Minus},      {'*', TokenKind::Star},
      {'/', TokenKind::Slash},  {'\\', TokenKind::Backslash}, {'=', TokenKind::Equal},
      {'&', TokenKind::Amp},    {',', TokenKind::Comma},      {'#', TokenKind::Hash},
      {'$', TokenKind::Dollar}, {'(', TokenKind::LParen},     {')', TokenKind::RParen}};
  for (auto [c, kind] : singles)
    kinds[static_cast<unsigned char>(c)] = kind;
  kinds[kEndOfLine] = TokenKind::Newline;
  kinds[kEndOfFile] = TokenKind::Eof;
  return kinds;
}

constexpr std::array<TokenKind, 256> kDelimiters = make_delimiters();

// One piece of a token: a word, a number, a delimiter or a stray character.
void scan_piece(InterpreterState& s) {
  skip_blanks(s);
  std::uint8_t c = s.cur_char;
  if (is_letter(c)) return scan_word(s);
  if (is_digit(c)) return scan_number(s);
  if (c == '<' || c == '>') return scan_comparison(s, c == '<');
  if (c == ';') return skip_line(s, false);
  if (c == ':') return skip_line(s, true);
  TokenKind kind = kDelimiters[c];
  if (kind != TokenKind::Unknown) return take(s, kind);
  s.token_text.push_back(static_cast<char>(c));
  take(s, TokenKind::Ident);
}

}  // namespace

std::uint8_t decode_quest_byte(const InterpreterState& s, std::uint8_t b) {
  return kDecodingMaps[decoding_index(s.qs1_file, s.codepage_w)][b];
}

void getchar(InterpreterState& s) {
  if (s.quest_file.at_end()) {
    s.cur_char = kEndOfFile;
    return;
  }
  ++s.line_pos;
  s.cur_char = decode_quest_byte(s, s.quest_file.read_byte());
  if (s.cur_char == 13) end_of_line(s);
}

namespace {

// The same reading, for a watched check run: where the token begins, and the token told.
[[gnu::noinline]] void observed_gettoken(InterpreterState& s) {
  while (s.cur_char <= 32)
    getchar(s);
  s.token_start = SourcePlace{s.line_no, s.line_pos};
  do {
    scan_piece(s);
  } while (s.token_kind == TokenKind::Number || s.token_kind == TokenKind::Ident);
  s.check_observer->token(s);
}

}  // namespace

void read_text_run(InterpreterState& s, std::string& out) {
  out.push_back(static_cast<char>(s.cur_char));
  KeptRun run = advance_while(s, raw_classes(s).text);
  append_kept(s, run, decoding(s), out);
  finish_line_end(s);
}

namespace {

void scan_token(InterpreterState& s) {
  do {
    scan_piece(s);
  } while (s.token_kind == TokenKind::Number || s.token_kind == TokenKind::Ident);
}

// The reading that fills a record; the record is let go however the reading ends.
void recorded_scan(InterpreterState& s, TokenRecord& r) {
  struct Release {
    TokenMemo& memo;
    ~Release() { memo.recording = nullptr; }
  } release{s.token_memo};
  MemoStart start = memo_begin(s, r);
  do {
    scan_piece(s);
    ++s.token_memo.pieces;
  } while (s.token_kind == TokenKind::Number || s.token_kind == TokenKind::Ident);
  memo_finish(s, r, start);
}

// In play: the third reading of a place and every later one give back what the second read.
[[gnu::noinline]] void remembered_gettoken(InterpreterState& s) {
  TokenRecord* r = memo_record_at(s);
  if (!r) return scan_token(s);
  switch (r->stage) {
    case TokenRecord::Stage::kRecorded:
      return memo_replay(s, *r);
    case TokenRecord::Stage::kSeen:
      return recorded_scan(s, *r);
    case TokenRecord::Stage::kEmpty:
      r->stage = TokenRecord::Stage::kSeen;
      return scan_token(s);
    default:
      return scan_token(s);
  }
}

}  // namespace

void gettoken(InterpreterState& s) {
  s.token_text.clear();
  if (s.check_observer) [[unlikely]]
    return observed_gettoken(s);
  if (s.syntax_level == 0) return remembered_gettoken(s);
  scan_token(s);
}

}  // namespace tindel
