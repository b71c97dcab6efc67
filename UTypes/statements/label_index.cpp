#include "UTypes/statements/label_index.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "UTypes/eval/var_table.h"
#include "UTypes/source/codepage.h"
#include "UTypes/source/scanner.h"
#include "UTypes/statements/labels.h"

namespace tindel {

// One character of aux_file through the quest's conversions; false at its end.
bool aux_read(InterpreterState& s, std::uint8_t& c) {
  if (s.aux_file.at_end()) return false;
  c = decode_quest_byte(s, s.aux_file.read_byte());
  return true;
}

bool ends_label(std::uint8_t c) {
  return c == 13 || c == ';' || c == '&';
}

const std::string kGatheredMark = " ";

namespace {

// The text after a ":" up to the end of its label, split at each further ":" into parts
// (lower-cased, without blanks and control characters); false when the quest ends first.
bool read_label_parts(InterpreterState& s, std::vector<std::string>& parts) {
  parts.assign(1, std::string());
  std::uint8_t c = 0;
  while (aux_read(s, c)) {
    if (c <= 32 && c != 13) continue;
    if (ends_label(c)) return true;
    if (c == ':') {
      parts.emplace_back();
    } else {
      parts.back().push_back(static_cast<char>(lowcase(c)));
    }
  }
  return false;
}

// Whether an exact search for the last part gets to try it. A search for a name that begins
// with a part stops on the ":" after that part, and that ":" then starts no label of its own.
bool last_part_reached(const std::vector<std::string>& parts) {
  const std::string& name = parts.back();
  std::size_t i = 0;
  const std::size_t last = parts.size() - 1;
  while (i < last)
    i += name.starts_with(parts[i]) ? 2 : 1;
  return i == last;
}

// Moves aux_file past its next ":"; false at its end. Outside ".qs1" files a ":" is the same
// byte before and after the code-page conversion, so the raw bytes are searched.
bool skip_past_colon(InterpreterState& s) {
  std::uint8_t c = 0;
  if (s.qs1_file) {
    while (aux_read(s, c))
      if (c == ':') return true;
    return false;
  }
  const QuestImage& image = *s.aux_file.image();
  const char* start = image.bytes.data();
  const void* hit = std::memchr(start + s.aux_file.pos(), ':', image.end - s.aux_file.pos());
  if (!hit) {
    s.aux_file.seek(image.end);
    return false;
  }
  s.aux_file.seek(static_cast<std::size_t>(static_cast<const char*>(hit) - start) + 1);
  return true;
}

// A hash of a text that can be extended at its front: text_hash(a + b) is
// text_hash(a) * power(|b|) + text_hash(b).
constexpr std::uint64_t kHashBase = 0x100000001B3ull;
std::uint64_t text_hash(std::string_view text) {
  std::uint64_t h = 0;
  for (char c : text)
    h = h * kHashBase + static_cast<unsigned char>(c) + 1;
  return h;
}
std::uint64_t hash_power(std::size_t length) {
  std::uint64_t p = 1;
  for (std::size_t i = 0; i < length; ++i)
    p *= kHashBase;
  return p;
}

// A label whose text holds ":" after its first one: kept whole, with the hash of the text
// after each further ":", computed from its end so the whole costs one pass over it.
void keep_colon_label(InterpreterState& s, const std::vector<std::string>& parts) {
  ColonLabels& labels = s.colon_labels;
  auto index = static_cast<std::uint32_t>(labels.texts.size());
  std::string text = parts[0];
  for (std::size_t i = 1; i < parts.size(); ++i)
    text += ":" + parts[i];
  labels.texts.push_back(std::move(text));
  std::uint64_t suffix = text_hash(parts.back()), power = hash_power(parts.back().size());
  for (std::size_t i = parts.size() - 1; i-- > 1;) {  // the text after the ":" before part i
    std::string head = parts[i] + ":";
    suffix = text_hash(head) * power + suffix;
    power *= hash_power(head.size());
    labels.by_suffix.emplace(suffix, index);
  }
  labels.by_suffix.emplace(text_hash(labels.texts.back()), index);
}

std::size_t colons_in(const QuestImage& image) {
  std::size_t n = 0;
  const char* end = image.bytes.data() + image.end;
  for (const char* p = image.bytes.data();
       (p = static_cast<const char*>(std::memchr(p, ':', static_cast<std::size_t>(end - p)))); ++p)
    ++n;
  return n;
}

// Every name that an exact search finds, gathered in one reading of the quest; the labels
// holding ":" are kept for names that hold one.
void gather_found_labels(InterpreterState& s) {
  open_aux_on_quest(s);
  // Room for a name per ":" at once, so the table is not rebuilt again and again as it fills.
  const QuestImage& image = *s.aux_file.image();
  s.label_check_cache.reserve(s.label_check_cache.size() + colons_in(image) + 1);
  std::vector<std::string> parts;
  while (skip_past_colon(s)) {
    if (!read_label_parts(s, parts)) break;
    if (last_part_reached(parts)) s.label_check_cache[parts.back()] = true;
    if (parts.size() > 1) keep_colon_label(s, parts);
  }
  s.aux_file.close();
  s.label_check_cache[kGatheredMark] = true;
}

// Whether an exact search for `name` finds it in one label's text, read as the search reads
// it: it tries the text after its first ":"; where a try stops on a character that differs,
// that character is passed over and the search goes on at the next ":".
bool found_in_colon_label(std::string_view text, std::string_view name) {
  std::size_t start = 0;
  for (;;) {
    std::size_t k = 0;
    while (k < name.size() && start + k < text.size() && text[start + k] == name[k])
      ++k;
    if (k == name.size() && start + k == text.size()) return true;
    std::size_t passed = start + k + 1;  // the character that stopped the try
    if (passed >= text.size()) return false;
    std::size_t colon = text.find(':', passed);
    if (colon == std::string_view::npos) return false;
    start = colon + 1;
  }
}

// A name holding ":" is found only in a label whose text, or the text after one of its
// further ":", is the name; the hash picks those labels out.
bool colon_name_exists(const InterpreterState& s, const std::string& name) {
  auto [first, last] = s.colon_labels.by_suffix.equal_range(text_hash(name));
  for (auto it = first; it != last; ++it)
    if (found_in_colon_label(s.colon_labels.texts[it->second], name)) return true;
  return false;
}

}  // namespace

// Whether reading the quest from `from` to `to` meets a character that reads as the end
// marker: only a DOS code page quest can hold one (0xFE, or "!" in a ".qs1" file).
bool end_marker_between(const InterpreterState& s, std::size_t from, std::size_t to) {
  if (s.codepage_w) return false;
  const char* bytes = s.quest_file.image()->bytes.data();
  return std::memchr(bytes + from, s.qs1_file ? '!' : '\xFE', to - from) != nullptr;
}

namespace {

// A walk over the quest's characters that counts lines and columns as getchar does, without
// moving the reader or polling the keyboard.
struct QuestWalk {
  const InterpreterState& s;
  const QuestImage& image;
  std::size_t pos = 0;
  std::int32_t line_no = 1;
  std::int32_t line_pos = 0;
  std::uint8_t c = 0;

  void next() {
    if (pos >= image.end) {
      c = kEndOfFile;
      return;
    }
    ++line_pos;
    c = decode_quest_byte(s, static_cast<std::uint8_t>(image.bytes[pos++]));
    if (c != 13) return;
    ++pos;
    ++line_no;
    line_pos = 0;
    c = kEndOfLine;
  }
  ReaderMark mark() const { return ReaderMark{pos, c, line_no, line_pos}; }
};

// The label after a ":" as a jump reads it, split at each further ":"; false when the end
// of the quest comes first.
bool walk_label_parts(QuestWalk& walk, std::vector<std::string>& parts) {
  parts.assign(1, std::string());
  for (;;) {
    do {
      walk.next();
    } while (walk.c <= 32);
    if (walk.c == kEndOfFile) return false;
    if (walk.c == kEndOfLine || walk.c == ';' || walk.c == '&') return true;
    if (walk.c == ':') {
      parts.emplace_back();
    } else {
      parts.back().push_back(static_cast<char>(lowcase(walk.c)));
    }
  }
}

// Where a jump finds each label, gathered in one walk over the quest: the first label of each
// name that a search for that name gets to try.
void gather_jump_marks(InterpreterState& s) {
  QuestWalk walk{s, *s.quest_file.image()};
  std::vector<std::string> parts;
  for (;;) {
    do {
      walk.next();
    } while (walk.c != ':' && walk.c != kEndOfFile);
    if (walk.c == kEndOfFile || !walk_label_parts(walk, parts)) break;
    if (last_part_reached(parts))
      s.jump_cache.try_emplace(parts.back(), LabelHit{true, walk.mark()});
  }
  s.jump_cache[kGatheredMark] = LabelHit{};
}

// The walk reads as a jump does only over a quest whose every CR has its LF and that holds
// no end marker, which a search reads either as the end or as the start of a label.
bool can_gather_jumps(const InterpreterState& s, const std::string& name) {
  const QuestImage& image = *s.quest_file.image();
  return image.clean_line_ends && name.find(':') == std::string::npos &&
         !s.jump_cache.count(kGatheredMark) && !end_marker_between(s, 0, image.end);
}

}  // namespace

// Puts the reader where a jump to `name` ends, when that is known without reading: from an
// earlier jump, or from the gathering. False when the quest must be read.
bool jump_to_known_label(InterpreterState& s, const std::string& name) {
  if (s.direct_reads) return false;
  auto hit = s.jump_cache.find(name);
  if (hit == s.jump_cache.end() && can_gather_jumps(s, name)) {
    gather_jump_marks(s);
    hit = s.jump_cache.find(name);
  }
  if (hit == s.jump_cache.end()) return false;
  restore_mark(s, hit->second.mark);
  if (s.line_no > 1) poll_break(s);
  return true;
}

bool indexed_label_exists(InterpreterState& s, const std::string& name) {
  if (!s.label_check_cache.count(kGatheredMark)) gather_found_labels(s);
  auto known = s.label_check_cache.find(name);
  if (known != s.label_check_cache.end()) return known->second;
  if (name.find(':') == std::string::npos) return false;
  bool found = colon_name_exists(s, name);
  s.label_check_cache.emplace(name, found);
  return found;
}

}  // namespace tindel
