#include "UTypes/source/quest_text.h"

#include <algorithm>
#include <cstring>

#include "UTypes/charset/codepage.h"
#include "UTypes/charset/cp866.h"

namespace tindel {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::uint8_t kEndOfLineMarker = 0xFF;
constexpr std::uint8_t kEndOfFileMarker = 0xFE;

void qs1_decode_in_place(std::string& bytes) {
  for (char& c : bytes)
    c = static_cast<char>(unqs1(static_cast<std::uint8_t>(c)));
}

}  // namespace

std::uint8_t quest_char_to_cp866(char32_t code_point) {
  if (code_point < 0x80) return static_cast<std::uint8_t>(code_point);
  // The DOS glyphs of the control bytes are not taken back: a quest's ♪ must not become a CR.
  std::uint8_t byte = cp866_from_unicode(code_point).value_or('?');
  if (byte < 0x80 || byte == kEndOfLineMarker || byte == kEndOfFileMarker) return '?';
  return byte;
}

// In place: no character takes more bytes in CP866 than in UTF-8, so what is written never
// overtakes what is still to be read, and a large quest needs no second copy.
void utf8_quest_to_cp866_in_place(std::string& bytes, bool qs1) {
  if (qs1) qs1_decode_in_place(bytes);  // the encoding is its own inverse
  std::size_t read = std::string_view(bytes).starts_with(kBom) ? kBom.size() : 0, written = 0;
  while (read < bytes.size()) {
    Utf8Step step = decode_utf8(std::string_view(bytes).substr(read));
    bool ok = step.status == Utf8Step::Status::kChar;
    bytes[written++] = static_cast<char>(ok ? quest_char_to_cp866(step.code_point) : '?');
    bool incomplete = step.status == Utf8Step::Status::kIncomplete;
    read += incomplete ? bytes.size() - read : step.length;
  }
  bytes.resize(written);
  if (qs1) qs1_decode_in_place(bytes);
}

std::string utf8_quest_to_cp866(std::string_view bytes, bool qs1) {
  std::string out(bytes);
  utf8_quest_to_cp866_in_place(out, qs1);
  return out;
}

// In place, from the back, so each line moves once: within the room the quest reader leaves
// (see read_all), the bytes are never copied to a second block.
void add_cr_to_lone_line_ends(std::string& bytes) {
  if (bytes.find('\r') != std::string::npos) return;
  std::size_t lfs = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  if (lfs == 0) return;
  std::size_t from = bytes.size();
  bytes.resize(from + lfs);
  char* data = bytes.data();
  for (std::size_t to = from + lfs; to > from;) {  // stops when no CR is left to put in
    std::size_t lf = std::string_view(data, from).rfind('\n');
    std::size_t line = from - lf - 1;  // the bytes after that LF
    to -= line;
    std::memmove(data + to, data + lf + 1, line);
    data[--to] = '\n';
    data[--to] = '\r';
    from = lf;
  }
}

std::int32_t first_lone_lf_line(std::string_view bytes, std::size_t end) {
  // The LFs are found at memchr speed; in a clean quest every one of them ends a line.
  const char* const first = bytes.data();
  const char* const last = first + std::min(end, bytes.size());
  std::int32_t line = 1;
  for (const char* p = first;
       (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(last - p))));
       ++p, ++line)
    if (p == first || p[-1] != '\r') return line;
  return 0;
}

void normalize_quest_text(std::string& bytes, QuestTextForm form) {
  if (form.utf8) utf8_quest_to_cp866_in_place(bytes, form.qs1);
  add_cr_to_lone_line_ends(bytes);
}

}  // namespace tindel
