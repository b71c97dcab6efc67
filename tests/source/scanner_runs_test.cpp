// The scanner reads runs of characters in loops over the quest's bytes. Whatever the bytes
// and the decoding, what it leaves must be what reading one character at a time with getchar
// leaves: the same tokens, texts, counters, current character and errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "UTypes/charset/codepage.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/source/keywords.h"
#include "UTypes/source/quest_text.h"
#include "UTypes/source/scanner.h"
#include "UTypes/state/program_end.h"
#include "UTypes/state/token_kind.h"
#include "UTypes/statements/labels.h"
#include "support/eval_probe.h"

namespace tindel::testing {
namespace {

using K = TokenKind;

// Bytes that mean something to the scanner, mixed with ordinary ones: letters of both cases
// and code pages, digits, blanks, line ends whole and broken, markers and delimiters.
std::string random_bytes(std::mt19937& rng, std::size_t size) {
  static const std::string pieces[] = {
      "a",    "Q",    "_",  "z9", "\xC0", "\xE9", "\xA8", "\x80", "\xF2", "\xFD",
      "\xFE", "\xFF", "0",  "7",  "42",   ".",    "5.25", " ",    "\t",   "\x01",
      "\r\n", "\r\n", "\n", "\r", "&",    "#",    ";",    ":",    "<",    ">",
      "=",    "+",    "(",  "!",  "\x1A", "if",   "then", "pln",  "Goto", "\xDF"};
  std::string out = "x ";  // start-up reads the first character outside the comparison
  while (out.size() < size) {
    const std::string& piece = pieces[rng() % std::size(pieces)];
    bool ends_reading = piece == "\r" || piece == "\x1A";  // kept rare, or nothing follows
    if (!ends_reading || rng() % 10 == 0) out += piece;
  }
  return out;
}

struct Reading {
  std::vector<Tok> tokens;
  std::string texts;
  int line_no = 0, line_pos = 0;
  std::uint8_t cur_char = 0;
  std::size_t pos = 0;
  double number = 0.0;
  std::string error;  // the screen after an error report, empty when there was none
  friend bool operator==(const Reading&, const Reading&) = default;
};

std::string describe(const Reading& r) {
  std::string out;
  for (const Tok& t : r.tokens)
    out += "[" + t.text + "|" + std::to_string(static_cast<int>(t.kind)) + "]";
  return out + " texts=" + r.texts + " line " + std::to_string(r.line_no) + ":" +
         std::to_string(r.line_pos) + " char " + std::to_string(r.cur_char) + " at " +
         std::to_string(r.pos) + " error " + r.error;
}

void finish(Scanner& sc, Reading& r) {
  InterpreterState& s = sc.s();
  r.line_no = s.line_no;
  r.line_pos = s.line_pos;
  r.cur_char = s.cur_char;
  r.pos = s.quest_file.pos();
  r.number = s.number_value;
}

// The text of p and pln as one getchar after another reads it.
void plain_text_run(InterpreterState& s, std::string& out) {
  do {
    out.push_back(static_cast<char>(s.cur_char));
    getchar(s);
  } while (s.cur_char != '&' && s.cur_char != '#' && s.cur_char < kEndOfFile);
}

// Alternately a token and a text run (as a statement of text reads them), until the end.
Reading read_all(const std::string& bytes, ScanOptions options, bool plain_texts) {
  Scanner sc(bytes, options);
  Reading r;
  try {
    for (int i = 0; i < 400 && sc.s().cur_char != kEndOfFile; ++i) {
      if (i % 3 == 2 && sc.s().cur_char < kEndOfFile) {
        std::string text;
        plain_texts ? plain_text_run(sc.s(), text) : read_text_run(sc.s(), text);
        r.texts += text + "|";
      } else {
        r.tokens.push_back(sc.next());
      }
    }
  } catch (const ProgramEnd&) {
    r.error = sc.console().transcript();
  }
  finish(sc, r);
  return r;
}

constexpr ScanOptions kDecodings[] = {{.codepage_w = true, .qs1 = false},
                                      {.codepage_w = false, .qs1 = false},
                                      {.codepage_w = true, .qs1 = true},
                                      {.codepage_w = false, .qs1 = true}};

TEST(ScannerRuns, TextRunsReadAsCharacterByCharacter) {
  std::mt19937 rng(7);
  int errors = 0, texts = 0;
  for (int round = 0; round < 300; ++round) {
    std::string bytes = random_bytes(rng, 20 + rng() % 200);
    for (ScanOptions options : kDecodings) {
      Reading runs = read_all(bytes, options, false);
      Reading plain = read_all(bytes, options, true);
      ASSERT_EQ(runs, plain) << "round " << round << "\nruns:  " << describe(runs)
                             << "\nplain: " << describe(plain);
      errors += !runs.error.empty();
      texts += runs.texts.size() > 10;
    }
  }
  // Both ends of a reading must have been seen for the comparison to mean something.
  EXPECT_GT(errors, 100);
  EXPECT_GT(texts, 300);
}

// The scanner's rules for one token, taking one character at a time from getchar: the
// reference the scanner's runs are held to. (The word `system` is not generated.)
bool letter(std::uint8_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= 0x80 && c <= 0xF1) || c == '_';
}
bool digit(std::uint8_t c) {
  return c >= '0' && c <= '9';
}

void plain_piece(InterpreterState& s) {
  while (s.cur_char <= 32)
    getchar(s);
  std::uint8_t c = s.cur_char;
  if (letter(c)) {
    // An error at a line end shows the text without the word: it joins the text after.
    std::string word;
    while (letter(s.cur_char) || digit(s.cur_char)) {
      word.push_back(static_cast<char>(lowcase(s.cur_char)));
      getchar(s);
    }
    s.token_kind = keyword_kind(word);
    if (s.token_kind == K::Ident) s.token_text += word;
    return;
  }
  if (digit(c)) {
    double value = 0.0;
    for (int count = 1; digit(s.cur_char); ++count) {
      value = value * 10.0 + (s.cur_char - '0');
      s.token_text.push_back(static_cast<char>(s.cur_char));
      getchar(s);
      if (count > 30) reporterror(s, "[getnumb] to large number");
    }
    s.number_value = value;
    if (s.cur_char == '.') {
      getchar(s);
      std::size_t point = s.token_text.size();
      s.token_text.push_back('.');
      while (digit(s.cur_char)) {
        s.token_text.push_back(static_cast<char>(s.cur_char));
        getchar(s);
      }
      std::string fraction = s.token_text.substr(point);
      s.number_value += fraction.size() > 1 ? std::strtod(fraction.c_str(), nullptr) : 0.0;
    }
    s.token_kind = K::Number;
    return;
  }
  if (c == ';' || c == ':') {
    while (s.cur_char < kEndOfFile && !(c == ':' && s.cur_char == '&'))
      getchar(s);
    s.token_kind = K::Newline;
    return getchar(s);
  }
  if (c == '<' || c == '>') {
    getchar(s);
    s.token_kind = c == '<' ? K::Less : K::Greater;
    if (c == '<' && s.cur_char == '>') s.token_kind = K::NotEqual;
    if (s.cur_char == '=') s.token_kind = c == '<' ? K::LessEqual : K::GreaterEqual;
    if (s.token_kind != K::Less && s.token_kind != K::Greater) getchar(s);
    return;
  }
  static const std::string singles = "+-*/\\=&,#$()";
  static const K kinds[] = {K::Plus, K::Minus, K::Star, K::Slash,  K::Backslash, K::Equal,
                            K::Amp,  K::Comma, K::Hash, K::Dollar, K::LParen,    K::RParen};
  std::size_t at = singles.find(static_cast<char>(c));
  if (c == kEndOfLine || c == kEndOfFile) {
    s.token_kind = c == kEndOfLine ? K::Newline : K::Eof;
  } else if (at != std::string::npos) {
    s.token_kind = kinds[at];
  } else {
    s.token_text.push_back(static_cast<char>(c));
    s.token_kind = K::Ident;
  }
  getchar(s);
}

Reading plain_tokens(const std::string& bytes, ScanOptions options) {
  Scanner sc(bytes, options);
  InterpreterState& s = sc.s();
  Reading r;
  try {
    for (int i = 0; i < 300; ++i) {
      s.token_text.clear();
      do {
        plain_piece(s);
      } while (s.token_kind == K::Number || s.token_kind == K::Ident);
      r.tokens.push_back({s.token_text, s.token_kind});
      if (s.token_kind == K::Eof) break;
    }
  } catch (const ProgramEnd&) {
    r.error = sc.console().transcript();
  }
  finish(sc, r);
  return r;
}

Reading scanned_tokens(const std::string& bytes, ScanOptions options) {
  Scanner sc(bytes, options);
  Reading r;
  try {
    for (int i = 0; i < 300; ++i) {
      r.tokens.push_back(sc.next());
      if (r.tokens.back().kind == K::Eof) break;
    }
  } catch (const ProgramEnd&) {
    r.error = sc.console().transcript();
  }
  finish(sc, r);
  return r;
}

// Tokens up to the end or to an error (a CR without its LF, a number too long), where the
// reading stops, the counters there, and the error's report.
TEST(ScannerRuns, TokensReadAsCharacterByCharacter) {
  std::mt19937 rng(19);
  int errors = 0, tokens = 0;
  for (int round = 0; round < 300; ++round) {
    std::string bytes = random_bytes(rng, 20 + rng() % 200);
    if (round % 10 == 0) bytes += std::string(31 + rng() % 3, '1') + "\r\n";
    for (ScanOptions options : kDecodings) {
      Reading scanned = scanned_tokens(bytes, options);
      Reading plain = plain_tokens(bytes, options);
      ASSERT_EQ(scanned, plain) << "round " << round << "\nscanned: " << describe(scanned)
                                << "\nplain:   " << describe(plain);
      errors += !scanned.error.empty();
      tokens += static_cast<int>(scanned.tokens.size());
    }
  }
  EXPECT_GT(errors, 100);
  EXPECT_GT(tokens, 8000);
}

// The keyword test by buckets must answer as a comparison with every keyword does: for every
// keyword, every prefix and extension of one, and words of keyword letters.
TEST(ScannerRuns, KeywordLookupAgreesWithTheList) {
  // The keywords are the kinds whose printable names are words: "and" to "anykey" and the
  // string functions.
  std::vector<std::pair<std::string, K>> keywords;
  for (int kind = static_cast<int>(K::And); kind < kTokenKinds; ++kind) {
    if (kind > static_cast<int>(K::Anykey) && kind < static_cast<int>(K::Strlen)) continue;
    keywords.emplace_back(default_token_name(static_cast<K>(kind)), static_cast<K>(kind));
  }
  ASSERT_EQ(keywords.size(), 31u);
  auto listed = [&](const std::string& word) {
    for (const auto& [k, kind] : keywords)
      if (k == word) return kind;
    return K::Ident;
  };
  std::vector<std::string> words = {"", "system", "iffy", "android", "pln2", "\xE0"};
  for (const auto& [k, kind] : keywords) {
    EXPECT_EQ(keyword_kind(k), kind) << k;
    for (std::size_t n = 0; n < k.size(); ++n)
      words.push_back(k.substr(0, n));
    words.push_back(k + "s");
    words.push_back("x" + k);
    words.push_back(k + std::string(1, '\0'));
  }
  std::mt19937 rng(3);
  const std::string letters = "abcdeilnoprstvy";
  for (int i = 0; i < 20000; ++i) {
    std::string w;
    for (std::size_t n = 1 + rng() % 8; n > 0; --n)
      w.push_back(letters[rng() % letters.size()]);
    words.push_back(w);
  }
  int hits = 0;
  for (const std::string& w : words) {
    ASSERT_EQ(keyword_kind(w), listed(w)) << w;
    hits += listed(w) != K::Ident;
  }
  EXPECT_GT(hits, 40);
}

// The first LF without its CR, found at memchr speed, is the one a byte loop finds.
TEST(ScannerRuns, FirstLoneLineFeedAgreesWithAByteLoop) {
  auto plain = [](const std::string& bytes, std::size_t end) {
    std::int32_t line = 1;
    for (std::size_t i = 0; i < end && i < bytes.size(); ++i) {
      if (bytes[i] != '\n') continue;
      if (i == 0 || bytes[i - 1] != '\r') return line;
      ++line;
    }
    return 0;
  };
  std::mt19937 rng(5);
  int found = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes;
    for (std::size_t n = rng() % 40; n > 0; --n)
      bytes += rng() % 5 == 0 ? "\n" : rng() % 2 ? "\r\n" : rng() % 2 ? "\r" : "x";
    std::size_t end = rng() % 4 == 0 ? rng() % (bytes.size() + 1) : bytes.size();
    ASSERT_EQ(first_lone_lf_line(bytes, end), plain(bytes, end)) << round;
    found += plain(bytes, end) > 0;
  }
  EXPECT_GT(found, 1000);
}

// What play remembers of a place it reads again must be what reading it gives: quests read
// with jumps back to earlier places (as loops do), with the player's keys polled at line
// ends and an Escape among them, compared with reading directly every time.
struct Step {
  Tok tok;
  int line_no = 0, line_pos = 0;
  std::uint8_t cur_char = 0;
  std::size_t pos = 0;
  double number = 0.0, fraction = 0.0;
  std::string error;
  friend bool operator==(const Step&, const Step&) = default;
};

Step step_of(const InterpreterState& s, const std::string& error) {
  return {{s.token_text, s.token_kind}, s.line_no,      s.line_pos,        s.cur_char,
          s.quest_file.pos(),           s.number_value, s.number_fraction, error};
}

std::vector<Step> read_with_jumps(const std::string& bytes, ScanOptions options, std::uint32_t seed,
                                  bool direct) {
  Scanner sc(bytes, options);
  InterpreterState& s = sc.s();
  s.direct_reads = direct;
  std::mt19937 rng(seed);
  for (int i = 0; i < 300; ++i)
    sc.console().add_break_key(rng() % 120 == 0 ? 27 : 'k');
  std::vector<ReaderMark> marks{reader_mark(s)};
  std::vector<Step> steps;
  try {
    for (int i = 0; i < 400; ++i) {
      if (rng() % 5 == 0) {
        restore_mark(s, marks[rng() % marks.size()]);
      } else {
        sc.next();
        if (rng() % 3 == 0) marks.push_back(reader_mark(s));
      }
      steps.push_back(step_of(s, ""));
    }
  } catch (const ProgramEnd&) {
    steps.push_back(step_of(s, sc.console().transcript()));
  }
  return steps;
}

int remembered_places(const std::string& bytes, ScanOptions options) {
  Scanner sc(bytes, options);
  const ReaderMark start = reader_mark(sc.s());
  try {
    for (int i = 0; i < 3; ++i) {
      restore_mark(sc.s(), start);
      sc.all(50);
    }
  } catch (const ProgramEnd&) {
  }
  int n = 0;
  for (const TokenRecord& r : sc.s().token_memo.records)
    n += r.stage == TokenRecord::Stage::kRecorded;
  return n;
}

TEST(ScannerRuns, RememberedTokensGiveWhatReadingGives) {
  std::mt19937 rng(29);
  int breaks = 0, remembered = 0;
  for (std::uint32_t seed = 1; seed <= 300; ++seed) {
    std::string bytes = random_bytes(rng, 30 + rng() % 300);
    ScanOptions options = kDecodings[seed % 4];
    std::vector<Step> memo = read_with_jumps(bytes, options, seed, false);
    std::vector<Step> direct = read_with_jumps(bytes, options, seed, true);
    ASSERT_EQ(memo.size(), direct.size()) << "seed " << seed;
    for (std::size_t i = 0; i < memo.size(); ++i)
      ASSERT_EQ(memo[i], direct[i]) << "seed " << seed << " step " << i << "\n"
                                    << memo[i].tok << " " << memo[i].number << " / "
                                    << direct[i].tok << " " << direct[i].number << "\n"
                                    << memo[i].error << "\n"
                                    << direct[i].error;
    breaks += memo.back().error.find("BREAK") != std::string::npos;
    remembered += remembered_places(bytes, options);
  }
  EXPECT_GT(breaks, 20);
  EXPECT_GT(remembered, 1000);
}

// The word `system` reads as the text of `sys` at that moment: a place that holds it is read
// anew every time, never given back from memory.
TEST(ScannerRuns, ThePlaceOfTheSystemWordIsReadEveryTime) {
  Scanner sc("x = system\r\n");
  InterpreterState& s = sc.s();
  const ReaderMark start = reader_mark(s);
  const char* texts[] = {"goto", "pln", "then", "room", "end"};
  const TokenKind kinds[] = {K::Goto, K::Pln, K::Then, K::Newline, K::End};
  for (int pass = 0; pass < 5; ++pass) {
    int t = text_slot_of(s, getvar(s, "%sys"));
    s.var_names[static_cast<std::size_t>(t)] = texts[pass];
    restore_mark(s, start);
    EXPECT_EQ(sc.next(), (Tok{"x", K::Equal}));
    EXPECT_EQ(sc.next().kind, kinds[pass]) << pass;
  }
}

}  // namespace
}  // namespace tindel::testing
