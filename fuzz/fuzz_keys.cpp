// The key decoder over terminal bytes (mouse reports too), the character set conversions and
// the code page detection, each checked against what it promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "UTypes/charset/codepage_detect.h"
#include "UTypes/charset/cp866.h"
#include "UTypes/charset/locale_charset.h"
#include "UTypes/console/console.h"
#include "UTypes/console/key_decoder.h"
#include "UTypes/console/menu_clicks.h"
#include "fuzz/fuzz_run.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// A mouse report on a full screen's list is at most a walk over the list and Enter.
void check_click(const tindel::MouseReport& report) {
  const tindel::MenuEntries list{1, 25, 12};
  for (std::uint8_t key : tindel::keys_for_mouse(list, report))
    check(key == tindel::key::kUp || key == tindel::key::kDown || key == tindel::key::kEnter);
  check(tindel::keys_for_mouse(list, report).size() <= 13);
}

// Every step uses at least one byte and no more than there are, whatever the bytes.
void decode_all(std::string_view bytes, const tindel::KeyDecoderOptions& options) {
  while (!bytes.empty()) {
    tindel::DecodedKey decoded = tindel::decode_key(bytes, options, true);
    check(decoded.status != tindel::DecodedKey::Status::kNeedMore);
    check(decoded.length >= 1 && decoded.length <= bytes.size());
    if (decoded.status == tindel::DecodedKey::Status::kMouse) check_click(decoded.mouse);
    bytes.remove_prefix(decoded.length);
    if (!bytes.empty()) {
      tindel::DecodedKey waiting = tindel::decode_key(bytes, options, false);
      check(waiting.status == tindel::DecodedKey::Status::kNeedMore || waiting.length >= 1);
      check(waiting.length <= bytes.size());
    }
  }
}

void convert(std::string_view bytes) {
  // Text shown as UTF-8 reads back as the same CP866 bytes, but for 0x00 (shown as a blank).
  std::string shown = tindel::cp866_to_display(bytes, true);
  std::string back = tindel::utf8_to_cp866(shown);
  check(back.size() == bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i)
    check(back[i] == (bytes[i] == '\0' ? ' ' : bytes[i]));
  // Any bytes as UTF-8 give one CP866 byte per character or per malformed run.
  check(tindel::utf8_to_cp866(bytes).size() <= bytes.size());
  std::string plain = tindel::cp866_to_display(bytes, false);
  check(plain.size() == bytes.size());
  for (std::string_view rest = bytes; !rest.empty();) {
    tindel::Utf8Step step = tindel::decode_utf8(rest);
    if (step.status == tindel::Utf8Step::Status::kIncomplete) break;  // a cut-off last character
    check(step.length >= 1 && step.length <= rest.size());
    rest.remove_prefix(step.length);
  }
}

}  // namespace

constexpr tindel::CharsetKind kCharsets[] = {
    tindel::CharsetKind::kUtf8,  tindel::CharsetKind::kKoi8R,     tindel::CharsetKind::kCp1251,
    tindel::CharsetKind::kCp866, tindel::CharsetKind::kIso8859_5, tindel::CharsetKind::kAscii};

// Shown and typed in an 8-bit charset: one byte stays one byte both ways.
void convert_8bit(std::string_view bytes, const tindel::Charset& charset) {
  check(charset.display(bytes).size() == bytes.size());
  check(charset.typed_text(bytes).size() == bytes.size());
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes = tindel::fuzz::as_text(data, size);
  for (tindel::CharsetKind kind : kCharsets) {
    const tindel::Charset charset(kind);
    for (bool collapse : {true, false})
      decode_all(bytes, {charset, collapse});
    if (!charset.is_utf8()) convert_8bit(bytes, charset);
    charset.file_name(bytes);
  }
  convert(bytes);
  const char codepage = tindel::detect_codepage(bytes);
  check(codepage == 'u' || codepage == 'w' || codepage == 'd');
  return 0;
}
