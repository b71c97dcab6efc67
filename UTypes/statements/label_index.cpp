#include "UTypes/statements/label_index.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "UTypes/charset/codepage.h"
#include "UTypes/eval/var_table.h"
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

// A label's text after its first ":" as a search reads it: lower-cased, without blanks and
// control characters. Its further ":" stay in the text and split it into parts.
struct LabelText {
  std::string text;
  std::vector<std::size_t> colons;  // where the further ":" stand in text

  void clear() {
    text.clear();
    colons.clear();
  }
  void add(std::uint8_t c) {
    if (c == ':') colons.push_back(text.size());
    text.push_back(static_cast<char>(c));
  }
  std::string_view part(std::size_t i) const {
    std::size_t from = i == 0 ? 0 : colons[i - 1] + 1;
    std::size_t to = i < colons.size() ? colons[i] : text.size();
    return std::string_view(text).substr(from, to - from);
  }
  std::string_view last_part() const { return part(colons.size()); }
};

// Whether an exact search for the last part gets to try it. A search for a name that begins
// with a part stops on the ":" after that part, and that ":" then starts no label of its own.
bool last_part_reached(const LabelText& label) {
  std::string_view name = label.last_part();
  std::size_t i = 0;
  const std::size_t last = label.colons.size();
  while (i < last)
    i += name.starts_with(label.part(i)) ? 2 : 1;
  return i == last;
}

// Each quest byte as the auxiliary reader sees it, lower-cased, which changes none of the
// characters that end or split a label.
ByteMap label_reading(const InterpreterState& s) {
  ByteMap map = kDecodingMaps[decoding_index(s.qs1_file, s.codepage_w)];
  for (std::uint8_t& c : map)
    c = lowcase(c);
  return map;
}

// The place after the next ":" from `pos`, or npos. Outside ".qs1" files a ":" is the same
// byte before and after the code-page conversion, so the raw bytes are searched.
std::size_t past_next_colon(const InterpreterState& s, const ByteMap& reading,
                            const QuestImage& image, std::size_t pos) {
  const char* bytes = image.bytes.data();
  if (!s.qs1_file) {
    const void* hit = std::memchr(bytes + pos, ':', image.end - pos);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - bytes) + 1
               : std::string::npos;
  }
  for (; pos < image.end; ++pos)
    if (reading[static_cast<std::uint8_t>(bytes[pos])] == ':') return pos + 1;
  return std::string::npos;
}

// The text from `pos` up to the end of its label, leaving `pos` past that end; false when
// the quest ends first.
bool read_label_text(const ByteMap& reading, const QuestImage& image, std::size_t& pos,
                     LabelText& label) {
  label.clear();
  while (pos < image.end) {
    std::uint8_t c = reading[static_cast<std::uint8_t>(image.bytes[pos++])];
    if (c <= 32 && c != 13) continue;
    if (ends_label(c)) return true;
    label.add(c);
  }
  return false;
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
void keep_colon_label(InterpreterState& s, const LabelText& label) {
  ColonLabels& labels = s.colon_labels;
  auto index = static_cast<std::uint32_t>(labels.texts.size());
  labels.texts.push_back(label.text);
  std::string_view last = label.last_part();
  std::uint64_t suffix = text_hash(last), power = hash_power(last.size());
  for (std::size_t i = label.colons.size(); i-- > 1;) {  // the text after the ":" before part i
    std::string_view head =
        std::string_view(label.text)
            .substr(label.colons[i - 1] + 1, label.colons[i] - label.colons[i - 1]);
    suffix = text_hash(head) * power + suffix;
    power *= hash_power(head.size());
    labels.by_suffix.emplace(suffix, index);
  }
  labels.by_suffix.emplace(text_hash(label.text), index);
}

// Every name that an exact search finds, gathered in one reading of the quest; the labels
// holding ":" are kept for names that hold one.
void gather_found_labels(InterpreterState& s) {
  open_aux_on_quest(s);
  const QuestImage& image = *s.aux_file.image();
  const ByteMap reading = label_reading(s);
  // Labels are seldom more than an eighth of a quest: room for that much of their names
  // spares copying the block as it grows.
  s.label_check_cache.reserve(image.end / 8);
  LabelText label;
  for (std::size_t pos = 0; (pos = past_next_colon(s, reading, image, pos)) != std::string::npos;) {
    if (!read_label_text(reading, image, pos, label)) break;
    if (last_part_reached(label)) s.label_check_cache.gather(label.last_part());
    if (s.label_check_cache.full()) break;
    if (!label.colons.empty()) keep_colon_label(s, label);
  }
  s.aux_file.close();
  s.label_check_cache.mark_gathered();
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

// The label after a ":" as a jump reads it; false when the end of the quest comes first.
bool walk_label_text(QuestWalk& walk, LabelText& label) {
  label.clear();
  for (;;) {
    do {
      walk.next();
    } while (walk.c <= 32);
    if (walk.c == kEndOfFile) return false;
    if (walk.c == kEndOfLine || walk.c == ';' || walk.c == '&') return true;
    label.add(lowcase(walk.c));
  }
}

// Where a jump finds each label, gathered in one walk over the quest: the first label of each
// name that a search for that name gets to try.
void gather_jump_marks(InterpreterState& s) {
  QuestWalk walk{s, *s.quest_file.image()};
  LabelText label;
  for (;;) {
    do {
      walk.next();
    } while (walk.c != ':' && walk.c != kEndOfFile);
    if (walk.c == kEndOfFile || !walk_label_text(walk, label)) break;
    if (last_part_reached(label))
      s.jump_cache.try_emplace(std::string(label.last_part()), LabelHit{true, walk.mark()});
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

bool found_labels_ready(InterpreterState& s) {
  if (!s.label_check_cache.gathered()) gather_found_labels(s);
  return !s.label_check_cache.full();
}

bool indexed_label_exists(InterpreterState& s, const std::string& name) {
  if (auto known = s.label_check_cache.find(name)) return *known;
  if (name.find(':') == std::string::npos) return false;
  bool found = colon_name_exists(s, name);
  s.label_check_cache.note(name, found);
  return found;
}

}  // namespace tindel
