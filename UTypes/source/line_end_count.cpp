#include "UTypes/source/line_end_count.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace tindel {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FFu;
// Byte counters in a word reach at most this before they are summed.
constexpr int kWordsPerSum = 255;

// 1 in each byte of word that equals `byte`, 0 in the others. Exact: the sum that finds the
// non-zero bytes never carries from one byte into the next.
std::uint64_t bytes_equal(std::uint64_t word, std::uint8_t byte) {
  std::uint64_t x = word ^ (kOnes * byte);
  std::uint64_t nonzero = ((x & kLow7) + kLow7) | x;
  return (~nonzero >> 7) & kOnes;
}

// The sum of a word's eight byte counters.
std::size_t sum_of_bytes(std::uint64_t counters) {
  std::uint64_t pairs = (counters & kEvenBytes) + ((counters >> 8) & kEvenBytes);
  return static_cast<std::size_t>((pairs * 0x0001000100010001u) >> 48);
}

std::uint64_t word_at(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// The marks of the bytes that follow the marked ones (one word's marks, and the mark of the
// byte before the word, kept as a 1 in the lowest bit), and the mark the next word needs.
// In memory order a following byte is 8 bits higher on a little-endian machine.
std::uint64_t marks_moved_on(std::uint64_t marks, std::uint64_t mark_before) {
  if constexpr (std::endian::native == std::endian::little) return (marks << 8) | mark_before;
  return (marks >> 8) | (mark_before << 56);
}
std::uint64_t last_mark(std::uint64_t marks) {
  if constexpr (std::endian::native == std::endian::little) return marks >> 56;
  return marks & 1;
}

}  // namespace

LineEndCounts count_line_ends(std::string_view bytes) {
  LineEndCounts counts;
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  std::uint64_t cr_before = 0;  // 1 when the byte before the word is a CR
  while (left >= 8) {
    std::uint64_t crs = 0, lfs = 0, pairs = 0;
    for (int n = 0; n < kWordsPerSum && left >= 8; ++n, p += 8, left -= 8) {
      std::uint64_t word = word_at(p);
      std::uint64_t cr = bytes_equal(word, '\r'), lf = bytes_equal(word, '\n');
      crs += cr;
      lfs += lf;
      pairs += marks_moved_on(cr, cr_before) & lf;
      cr_before = last_mark(cr);
    }
    counts.crs += sum_of_bytes(crs);
    counts.lfs += sum_of_bytes(lfs);
    counts.pairs += sum_of_bytes(pairs);
  }
  for (; left > 0; ++p, --left) {
    counts.crs += *p == '\r';
    counts.lfs += *p == '\n';
    counts.pairs += *p == '\n' && cr_before;
    cr_before = *p == '\r';
  }
  return counts;
}

}  // namespace tindel
