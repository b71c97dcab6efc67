#pragma once
// Code page 866 (DOS Cyrillic) and UTF-8: the interpreter keeps every character as a CP866
// byte; terminals and pipes mostly speak UTF-8. Our own table, so the result never depends
// on the platform's iconv.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tindel {

// The character a CP866 byte shows on screen. Bytes 0x01-0x1F and 0x7F give the DOS glyphs
// (☺ ☻ ♥ … ⌂); 0x00 shows as a blank.
char32_t cp866_glyph(std::uint8_t byte);

// The CP866 byte of a code point: ASCII (controls included) as itself, the DOS glyphs back to
// their control bytes, nullopt when CP866 has no such character.
std::optional<std::uint8_t> cp866_from_unicode(char32_t code_point);

void append_utf8(std::string& out, char32_t code_point);

// One step of UTF-8 decoding at the start of bytes.
struct Utf8Step {
  enum class Status { kChar, kIncomplete, kInvalid };
  Status status;
  char32_t code_point = 0;
  std::size_t length = 0;  // bytes used by kChar, or the bytes to skip after kInvalid
};
Utf8Step decode_utf8(std::string_view bytes);

// Whole strings. Text from the player: unmappable or malformed characters become '?'.
std::string utf8_to_cp866(std::string_view utf8);
// Adds how a CP866 byte looks to a reader: its glyph in UTF-8, or, for a terminal that does not
// speak UTF-8, the byte itself with controls replaced by '?' so they cannot act.
void append_display(std::string& out, std::uint8_t byte, bool utf8);
std::string cp866_to_display(std::string_view cp866, bool utf8);

}  // namespace tindel
