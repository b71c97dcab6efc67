#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/eval_probe.h"

namespace tindel::testing {
namespace {

using K = TokenKind;
using Toks = std::vector<Tok>;

Toks scan(const std::string& text, ScanOptions options = {}) {
  return Scanner(crlf(text), options).all();
}

TEST(Scanner, OperandTextGathersUpToTheDelimiter) {
  struct Case {
    const char* source;
    Toks tokens;
  };
  const Case cases[] = {
      {"Gold = 5", {{"gold", K::Equal}, {"5", K::Newline}, {"", K::Eof}}},
      {"my var >= 10", {{"myvar", K::GreaterEqual}, {"10", K::Newline}, {"", K::Eof}}},
      {"2 apple then", {{"2apple", K::Then}, {"", K::Newline}, {"", K::Eof}}},
      {"x.y,", {{"x.y", K::Comma}, {"", K::Newline}, {"", K::Eof}}},
      {"  ; note", {{"", K::Newline}, {"", K::Eof}}},
      {"; a & b", {{"", K::Newline}, {"", K::Eof}}},
      {"a  b  d = 1", {{"abd", K::Equal}, {"1", K::Newline}, {"", K::Eof}}},
      {"a1 = 1", {{"a1", K::Equal}, {"1", K::Newline}, {"", K::Eof}}},
      {"iffy android pln2", {{"iffyandroidpln2", K::Newline}, {"", K::Eof}}},
      {"p = 5", {{"", K::P}, {"", K::Equal}, {"5", K::Newline}, {"", K::Eof}}},
      {"x <> y", {{"x", K::NotEqual}, {"y", K::Newline}, {"", K::Eof}}},
      {"x<=y", {{"x", K::LessEqual}, {"y", K::Newline}, {"", K::Eof}}},
      {"x >= y", {{"x", K::GreaterEqual}, {"y", K::Newline}, {"", K::Eof}}},
      {"x < > y", {{"x", K::Less}, {"", K::Greater}, {"y", K::Newline}, {"", K::Eof}}},
      {"x > = y", {{"x", K::Greater}, {"", K::Equal}, {"y", K::Newline}, {"", K::Eof}}},
      {":room & p hi", {{"", K::Newline}, {"", K::P}, {"hi", K::Newline}, {"", K::Eof}}},
      {":room\np hi", {{"", K::Newline}, {"", K::P}, {"hi", K::Newline}, {"", K::Eof}}},
      {"a\tb\x01"
       "c = 1",
       {{"abc", K::Equal}, {"1", K::Newline}, {"", K::Eof}}},
      {"x! ?y%\"z = 1", {{"x!?y%\"z", K::Equal}, {"1", K::Newline}, {"", K::Eof}}},
      {"_a_ = b_1", {{"_a_", K::Equal}, {"b_1", K::Newline}, {"", K::Eof}}},
      {"+-*/\\=&,#$()",
       {{"", K::Plus},
        {"", K::Minus},
        {"", K::Star},
        {"", K::Slash},
        {"", K::Backslash},
        {"", K::Equal},
        {"", K::Amp},
        {"", K::Comma},
        {"", K::Hash},
        {"", K::Dollar},
        {"", K::LParen},
        {"", K::RParen},
        {"", K::Newline},
        {"", K::Eof}}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(scan(std::string(c.source) + "\n"), c.tokens) << c.source;
}

TEST(Scanner, KeywordsInAnyCase) {
  struct Case {
    const char* word;
    TokenKind kind;
  };
  const Case cases[] = {
      {"and", K::And},         {"or", K::Or},
      {"not", K::Not},         {"if", K::If},
      {"then", K::Then},       {"else", K::Else},
      {"goto", K::Goto},       {"proc", K::Proc},
      {"end", K::End},         {"p", K::P},
      {"pln", K::Pln},         {"btn", K::Btn},
      {"inv", K::Inv},         {"rnd", K::Rnd},
      {"instr", K::Instr},     {"cls", K::Cls},
      {"input", K::Input},     {"pause", K::Pause},
      {"music", K::Music},     {"play", K::Play},
      {"invkill", K::Invkill}, {"perkill", K::Perkill},
      {"save", K::Save},       {"common", K::Common},
      {"anykey", K::Anykey},   {"strlen", K::Strlen},
      {"strcmp", K::Strcmp},   {"strchar", K::Strchar},
      {"strcopy", K::Strcopy}, {"strpos", K::Strpos},
      {"strset", K::Strset},
  };
  for (const Case& c : cases) {
    std::string upper = c.word, mixed = c.word;
    for (char& ch : upper)
      ch = static_cast<char>(ch - 32);
    mixed[0] = upper[0];
    for (const std::string& w : {std::string(c.word), upper, mixed})
      EXPECT_EQ(Scanner(w + "\r\n").next(), (Tok{"", c.kind})) << w;
    EXPECT_EQ(Scanner(std::string(c.word) + "s\r\n").next(),
              (Tok{std::string(c.word) + "s", K::Newline}));
  }
}

TEST(Scanner, NumberLiterals) {
  struct Case {
    const char* source;
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"0.25,", "0.25", 0.25},
      {"12.5,", "12.5", 12.5},
      {"5.,", "5.", 5.0},
      {"1a,", "1a", 1.0},
      {"007,", "007", 7.0},
      {"3 4.5 x,", "34.5x", 4.5},
      {"123456789012345678901234567890,", "123456789012345678901234567890",
       123456789012345678901234567890.0},
      {"0.000000000000000000000000000001,", "0.000000000000000000000000000001", 1e-30},
  };
  for (const Case& c : cases) {
    Scanner sc(std::string(c.source) + "\r\n");
    EXPECT_EQ(sc.next(), (Tok{c.text, K::Comma})) << c.source;
    EXPECT_DOUBLE_EQ(sc.s().number_value, c.value) << c.source;
  }
}

TEST(Scanner, WordsDoNotClearTheLastNumber) {
  Scanner sc("7,\r\nx,\r\n");
  sc.next();
  sc.next();
  EXPECT_EQ(sc.next(), (Tok{"x", K::Comma}));
  EXPECT_EQ(sc.s().number_value, 7.0);
}

TEST(Scanner, CyrillicLettersFormWordsAndFold) {
  // Windows text is converted first: "Ключ Ёж" becomes CP866 and then lower case.
  EXPECT_EQ(scan("\xCA\xEB\xFE\xF7 \xA8\xE6 = 1\n"),
            (Toks{{"\xAA\xAB\xEE\xE7\xF1\xA6", K::Equal}, {"1", K::Newline}, {"", K::Eof}}));
  // In the DOS code page the bytes are read as they stand; 0xF2..0xFD are not letters but
  // still join the operand text, unfolded.
  EXPECT_EQ(scan("\x8A\xF0\xF2\xF3 = 1\n", {.codepage_w = false}),
            (Toks{{"\xAA\xF1\xF2\xF3", K::Equal}, {"1", K::Newline}, {"", K::Eof}}));
}

TEST(Scanner, LinesAndColumnsAreCountedExactly) {
  Scanner sc("ab = 12\r\ncd\r\n");
  struct Step {
    Tok tok;
    int line_no, line_pos;
    std::uint8_t cur_char;
  };
  const Step steps[] = {{{"ab", K::Equal}, 1, 5, ' '},
                        {{"12", K::Newline}, 2, 1, 'c'},
                        {{"cd", K::Newline}, 3, 0, kEndOfFile},
                        {{"", K::Eof}, 3, 0, kEndOfFile},
                        {{"", K::Eof}, 3, 0, kEndOfFile}};
  for (const Step& step : steps) {
    EXPECT_EQ(sc.next(), step.tok);
    EXPECT_EQ(sc.s().line_no, step.line_no) << step.tok;
    EXPECT_EQ(sc.s().line_pos, step.line_pos) << step.tok;
    EXPECT_EQ(sc.s().cur_char, step.cur_char) << step.tok;
  }
}

TEST(Scanner, FileEndsAndOddLineEnds) {
  struct Case {
    std::string bytes;
    ScanOptions options;
    Toks tokens;
    int last_line;
  };
  const Case cases[] = {
      // No final CR LF: the end of file follows the last token and stays.
      {"x = 1", {}, {{"x", K::Equal}, {"1", K::Eof}, {"", K::Eof}}, 1},
      // Ctrl-Z ends the quest early.
      {"x\x1Ay = 1\r\n", {}, {{"x", K::Eof}}, 1},
      // In a file with CR LF line ends an LF alone is a blank.
      {"a\nb = 1\nc\r\n", {}, {{"ab", K::Equal}, {"1c", K::Newline}, {"", K::Eof}}, 2},
      // In a file without any CR every LF ends a line.
      {"a\nb = 1\nc\n", {}, {{"a", K::Newline}, {"b", K::Equal}, {"1", K::Newline}}, 3},
      // A byte 0xFF in a DOS file ends the line without counting it.
      {"a\xFF"
       "b\r\n",
       {.codepage_w = false},
       {{"a", K::Newline}, {"b", K::Newline}, {"", K::Eof}},
       2},
      // ...and 0xFE ends the quest.
      {"a\xFE"
       "b\r\n",
       {.codepage_w = false},
       {{"a", K::Eof}, {"b", K::Newline}, {"", K::Eof}},
       2},
      // In Windows text the same bytes are the letters я and ю.
      {"a\xFF"
       "b\r\n",
       {},
       {{"a\xEF"
         "b",
         K::Newline},
        {"", K::Eof}},
       2},
  };
  for (const Case& c : cases) {
    Scanner sc(c.bytes, c.options);
    Toks got;
    for (std::size_t i = 0; i < c.tokens.size(); ++i)
      got.push_back(sc.next());
    EXPECT_EQ(got, c.tokens) << c.bytes;
    EXPECT_EQ(sc.s().line_no, c.last_line) << c.bytes;
  }
}

TEST(Scanner, SystemWordReadsTheTextOfSys) {
  struct Case {
    const char* sys_text;
    double sys_value;  // the distance to the text slot; -1 as start-up leaves it
    Tok first;
  };
  // A distance of 0 names the slot itself; one that leaves the table gives no word.
  const Case cases[] = {
      {"goto", -1, {"x", K::Goto}},          {"Go To", -1, {"x", K::Goto}},
      {"Hall", -1, {"xhall", K::Equal}},     {"", -1, {"x", K::Equal}},
      {"goto", 0, {"x%sys", K::Equal}},      {"goto", 100, {"x", K::Equal}},
      {"goto", -800, {"x", K::Equal}},       {"goto", -751, {"x", K::Equal}},
      {"goto", -750.5, {"x%sys", K::Equal}},  // truncates to slot 0, the sentinel
  };
  for (const Case& c : cases) {
    Scanner sc("x system = 1\r\n");
    InterpreterState& s = sc.s();
    s.var_names[749] = c.sys_text;
    s.var_values[kLastSlot] = c.sys_value;
    EXPECT_EQ(sc.next(), c.first) << c.sys_text << " " << c.sys_value;
  }
}

TEST(Scanner, SystemWordInAQuest) {
  TempDir dir;
  QuestRun run = run_quest(dir,
                           "instr sys = goto\n"
                           "system hall\n"
                           "pln skipped\n"
                           ":hall\n"
                           "pln arrived\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output().find("skipped"), std::string::npos) << run.output();
  EXPECT_NE(run.output().find("arrived"), std::string::npos) << run.output();
}

}  // namespace
}  // namespace tindel::testing
