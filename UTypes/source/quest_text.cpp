#include "UTypes/source/quest_text.h"

#include <algorithm>
#include <cstring>

#include "UTypes/console/cp866.h"
#include "UTypes/source/codepage.h"

namespace tindel {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::uint8_t kEndOfLineMarker = 0xFF;
constexpr std::uint8_t kEndOfFileMarker = 0xFE;

std::string qs1_decoded(std::string_view bytes) {
  std::string out(bytes);
  for (char& c : out)
    c = static_cast<char>(unqs1(static_cast<std::uint8_t>(c)));
  return out;
}

}  // namespace

std::uint8_t quest_char_to_cp866(char32_t code_point) {
  if (code_point < 0x80) return static_cast<std::uint8_t>(code_point);
  // The DOS glyphs of the control bytes are not taken back: a quest's ♪ must not become a CR.
  std::uint8_t byte = cp866_from_unicode(code_point).value_or('?');
  if (byte < 0x80 || byte == kEndOfLineMarker || byte == kEndOfFileMarker) return '?';
  return byte;
}

std::string utf8_quest_to_cp866(std::string_view bytes, bool qs1) {
  std::string plain = qs1 ? qs1_decoded(bytes) : std::string(bytes);
  std::string_view rest = plain;
  if (rest.starts_with(kBom)) rest.remove_prefix(kBom.size());
  std::string out;
  out.reserve(rest.size());
  while (!rest.empty()) {
    Utf8Step step = decode_utf8(rest);
    bool ok = step.status == Utf8Step::Status::kChar;
    out.push_back(static_cast<char>(ok ? quest_char_to_cp866(step.code_point) : '?'));
    bool incomplete = step.status == Utf8Step::Status::kIncomplete;
    rest.remove_prefix(incomplete ? rest.size() : step.length);
  }
  return qs1 ? qs1_decoded(out) : out;
}

void add_cr_to_lone_line_ends(std::string& bytes) {
  if (bytes.find('\r') != std::string::npos) return;
  std::size_t lfs = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  if (lfs == 0) return;
  std::string out;
  out.reserve(bytes.size() + lfs);
  for (char c : bytes) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  bytes.swap(out);
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
  if (form.utf8) bytes = utf8_quest_to_cp866(bytes, form.qs1);
  add_cr_to_lone_line_ends(bytes);
}

}  // namespace tindel
