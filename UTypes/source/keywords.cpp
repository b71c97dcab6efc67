#include "UTypes/source/keywords.h"

#include <array>
#include <cstdint>

namespace tindel {

namespace {

struct Keyword {
  std::string_view word;
  TokenKind kind;
};

using K = TokenKind;
// Grouped by first letter, so a word is compared with a handful of keywords at most.
constexpr std::array<Keyword, 31> kKeywords = {{
    {"and", K::And},         {"anykey", K::Anykey}, {"btn", K::Btn},
    {"cls", K::Cls},         {"common", K::Common}, {"else", K::Else},
    {"end", K::End},         {"goto", K::Goto},     {"if", K::If},
    {"inv", K::Inv},         {"input", K::Input},   {"instr", K::Instr},
    {"invkill", K::Invkill}, {"music", K::Music},   {"not", K::Not},
    {"or", K::Or},           {"p", K::P},           {"pln", K::Pln},
    {"pause", K::Pause},     {"play", K::Play},     {"perkill", K::Perkill},
    {"proc", K::Proc},       {"rnd", K::Rnd},       {"save", K::Save},
    {"strlen", K::Strlen},   {"strcmp", K::Strcmp}, {"strchar", K::Strchar},
    {"strcopy", K::Strcopy}, {"strpos", K::Strpos}, {"strset", K::Strset},
    {"then", K::Then},
}};

struct Range {
  unsigned char first = 0, count = 0;
};

constexpr std::array<Range, 26> make_ranges() {
  std::array<Range, 26> r{};
  for (unsigned i = 0; i < kKeywords.size(); ++i) {
    char c = kKeywords[i].word[0];
    auto& range = r[static_cast<unsigned>(c - 'a')];
    if (range.count == 0) range.first = static_cast<unsigned char>(i);
    ++range.count;
  }
  return r;
}

constexpr std::array<Range, 26> kRanges = make_ranges();

// A word of at most 7 bytes as one number (its length, then its bytes), so that a keyword
// test is an integer comparison.
constexpr std::uint64_t pack(std::string_view word) {
  std::uint64_t packed = word.size();
  for (char c : word)
    packed = (packed << 8) | static_cast<unsigned char>(c);
  return packed;
}

constexpr std::array<std::uint64_t, kKeywords.size()> make_packed() {
  std::array<std::uint64_t, kKeywords.size()> packed{};
  for (std::size_t i = 0; i < kKeywords.size(); ++i)
    packed[i] = pack(kKeywords[i].word);
  return packed;
}

constexpr std::array<std::uint64_t, kKeywords.size()> kPacked = make_packed();

}  // namespace

TokenKind keyword_kind(std::string_view word) {
  if (word.empty() || word.size() > 7 || word[0] < 'a' || word[0] > 'z') return K::Ident;
  Range r = kRanges[static_cast<unsigned>(word[0] - 'a')];
  std::uint64_t packed = pack(word);
  for (unsigned i = r.first; i < r.first + r.count; ++i)
    if (kPacked[i] == packed) return kKeywords[i].kind;
  return K::Ident;
}

}  // namespace tindel
