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

// A word of at most 7 bytes as one number (its length, then its bytes), so that a keyword
// test is an integer comparison.
constexpr std::uint64_t pack(std::string_view word) {
  std::uint64_t packed = word.size();
  for (char c : word)
    packed = (packed << 8) | static_cast<unsigned char>(c);
  return packed;
}

// The keywords in 64 buckets of one keyword each: the multiplier was chosen so that no two
// share a bucket (make_buckets fails to compile otherwise).
constexpr std::uint64_t kMultiplier = 0x4db8048a5fff4485ull;
constexpr std::size_t bucket_of(std::uint64_t packed) {
  return static_cast<std::size_t>((packed * kMultiplier) >> 58);
}

struct Bucket {
  std::uint64_t packed = 0;  // 0: no keyword (no word packs to 0)
  TokenKind kind = K::Ident;
};

constexpr std::array<Bucket, 64> make_buckets() {
  std::array<Bucket, 64> buckets{};
  for (const Keyword& k : kKeywords) {
    Bucket& b = buckets[bucket_of(pack(k.word))];
    if (b.packed != 0) throw "two keywords share a bucket";
    b = Bucket{pack(k.word), k.kind};
  }
  return buckets;
}

constexpr std::array<Bucket, 64> kBuckets = make_buckets();

}  // namespace

TokenKind keyword_kind(std::string_view word) {
  if (word.empty() || word.size() > 7) return K::Ident;
  std::uint64_t packed = pack(word);
  const Bucket& b = kBuckets[bucket_of(packed)];
  return b.packed == packed ? b.kind : K::Ident;
}

}  // namespace tindel
