#pragma once
// Turns the bytes a terminal or a pipe sends into the key codes of the console interface:
// characters as CP866 bytes, Enter 13, Backspace 8, Escape 27, and the Windows virtual-key
// codes for the keys that send escape sequences (arrows, Home, End, F1-F12 ...).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "UTypes/charset/locale_charset.h"

namespace tindel {

struct KeyDecoderOptions {
  Charset charset{};           // what the bytes are in: UTF-8 or one byte per character
  bool collapse_crlf = false;  // "\r\n" is one Enter (streams), else two
};

// A report of xterm's mouse mode: SGR "ESC [ < b ; x ; y M" for a press, "... m" for a
// release, or the older "ESC [ M" with three bytes b x y, each 32 above its value.
struct MouseReport {
  int button = 0;  // 0 left, 1 middle, 2 right, 64/65 wheel up/down; +4 Shift, +8 Alt,
                   // +16 Ctrl, +32 a move with the button held
  int column = 0;  // 1-based
  int row = 0;     // 1-based
  bool press = true;
};

struct DecodedKey {
  enum class Status {
    kKey,       // key holds the code; length bytes are used
    kMouse,     // mouse holds the report; length bytes are used
    kIgnored,   // length bytes meant nothing we hand out (unknown sequence, unmappable char)
    kNeedMore,  // the bytes may be the start of something longer: wait a little
  };
  Status status;
  std::uint8_t key = 0;
  std::size_t length = 0;
  bool from_sequence = false;  // an escape sequence: Up and "H" share a code, not a source
  MouseReport mouse{};
};

// Decodes the first key at the start of bytes (which must not be empty). no_more_bytes says
// that nothing followed within the timeout (or the input ended): a lone Escape is then the
// Escape key and an unfinished sequence is dropped instead of waited for.
DecodedKey decode_key(std::string_view bytes, const KeyDecoderOptions& options, bool no_more_bytes);

}  // namespace tindel
