#include "UTypes/source/scanner.h"

#include <array>
#include <charconv>
#include <string_view>
#include <utility>

#include "UTypes/console/console.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/source/codepage.h"
#include "UTypes/source/keywords.h"
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
bool is_word_char(std::uint8_t c) {
  return kClasses[c] != kOther;
}

// After a decoded CR: its LF, the line count, and the player's chance to break off.
[[gnu::noinline]] void end_of_line(InterpreterState& s) {
  if (s.quest_file.at_end() || s.quest_file.read_byte() != 10)
    reporterror(s, "[getchar] <NEWLINE> #10 expected");
  ++s.line_no;
  s.line_pos = 0;
  s.cur_char = kEndOfLine;
  if (s.con_in->pollbreak() == key::kEscape) reporterror(s, "[getchar] BREAK", exit_status::kOk);
}

// word: letter { letter | digit }, folded to lower case
std::string read_word(InterpreterState& s) {
  std::string word;
  do {
    s.cur_char = lowcase(s.cur_char);
    word.push_back(static_cast<char>(s.cur_char));
    getchar(s);
  } while (is_word_char(s.cur_char));
  return word;
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
  std::string word = read_word(s);
  if (word.size() == 6 && word == "system") word = system_word(s);
  TokenKind kind = keyword_kind(word);
  if (kind == TokenKind::Ident) s.token_text += word;
  s.token_kind = kind;
}

// The digits after the decimal point, worth one tenth, one hundredth and so on; read as a
// whole so that every digit counts, however many zeros lead.
double fraction_value(std::string_view point_and_digits) {
  double fraction = 0.0;
  if (point_and_digits.size() > 1)
    std::from_chars(point_and_digits.data(), point_and_digits.data() + point_and_digits.size(),
                    fraction);
  return fraction;
}

// number: digit { digit } [ "." { digit } ]
void scan_number(InterpreterState& s) {
  s.number_value = 0.0;
  int count = 0;
  while (is_digit(s.cur_char)) {
    s.number_value = s.number_value * 10.0 + (s.cur_char - '0');
    s.token_text.push_back(static_cast<char>(s.cur_char));
    getchar(s);
    if (++count > kMaxIntegerDigits) reporterror(s, "[getnumb] to large number");
  }
  if (s.cur_char == '.') {
    getchar(s);
    std::size_t point = s.token_text.size();
    s.token_text.push_back('.');
    while (is_digit(s.cur_char)) {
      s.token_text.push_back(static_cast<char>(s.cur_char));
      getchar(s);
    }
    s.number_fraction = fraction_value(std::string_view(s.token_text).substr(point));
    s.number_value += s.number_fraction;
  }
  s.token_kind = TokenKind::Number;
}

// Skips to the end-of-line or end-of-file marker (and to "&" on a label line), consumes it.
void skip_line(InterpreterState& s, bool stop_at_amp) {
  while (s.cur_char < kEndOfFile && !(stop_at_amp && s.cur_char == '&'))
    getchar(s);
  s.token_kind = TokenKind::Newline;
  getchar(s);
}

void take(InterpreterState& s, TokenKind kind) {
  s.token_kind = kind;
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
  while (s.cur_char <= 32)
    getchar(s);
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

void gettoken(InterpreterState& s) {
  s.token_text.clear();
  if (s.check_observer) [[unlikely]] return observed_gettoken(s);
  do {
    scan_piece(s);
  } while (s.token_kind == TokenKind::Number || s.token_kind == TokenKind::Ident);
}

}  // namespace tindel
