#include "UTypes/console/key_decoder.h"

#include <algorithm>
#include <array>
#include <optional>

#include "UTypes/charset/cp866.h"
#include "UTypes/console/console.h"

namespace tindel {

namespace {

using Status = DecodedKey::Status;

using key::kDelete;
using key::kEnd;
using key::kHome;
constexpr std::uint8_t kPageUp = 33;
constexpr std::uint8_t kPageDown = 34;
constexpr std::uint8_t kInsert = 45;
// F1-F12 are the virtual-key codes 112-123.
constexpr std::uint8_t function_key(int n) {
  return static_cast<std::uint8_t>(key::kF1 + n - 1);
}

struct Mapping {
  int from;
  std::uint8_t key;
};

// Final letters of "ESC [ ... X" and "ESC O ... X" (xterm, VT100 application mode).
constexpr std::array<Mapping, 10> kLetterKeys = {{
    {'A', key::kUp},
    {'B', key::kDown},
    {'C', key::kRight},
    {'D', key::kLeft},
    {'H', kHome},
    {'F', kEnd},
    {'P', function_key(1)},
    {'Q', function_key(2)},
    {'R', function_key(3)},
    {'S', function_key(4)},
}};

// Numbers of "ESC [ n ~" (VT220 and xterm editing and function keys).
constexpr std::array<Mapping, 18> kTildeKeys = {{
    {1, kHome},
    {2, kInsert},
    {3, kDelete},
    {4, kEnd},
    {5, kPageUp},
    {6, kPageDown},
    {7, kHome},
    {8, kEnd},
    {11, function_key(1)},
    {12, function_key(2)},
    {13, function_key(3)},
    {14, function_key(4)},
    {15, function_key(5)},
    {17, function_key(6)},
    {18, function_key(7)},
    {19, function_key(8)},
    {20, function_key(9)},
    {21, function_key(10)},
}};
constexpr std::array<Mapping, 2> kTildeKeysHigh = {
    {{23, function_key(11)}, {24, function_key(12)}}};

// "ESC [ [ X" of the Linux console: F1-F5.
constexpr std::array<Mapping, 5> kLinuxFunctionKeys = {{
    {'A', function_key(1)},
    {'B', function_key(2)},
    {'C', function_key(3)},
    {'D', function_key(4)},
    {'E', function_key(5)},
}};

// A sequence longer than this without its final byte is garbage: drop it.
constexpr std::size_t kLongestSequence = 32;

template <std::size_t N>
std::optional<std::uint8_t> look_up(const std::array<Mapping, N>& table, int from) {
  for (const auto& m : table)
    if (m.from == from) return m.key;
  return std::nullopt;
}

DecodedKey key_of(std::optional<std::uint8_t> key, std::size_t length) {
  if (key) return {Status::kKey, *key, length, true};
  return {Status::kIgnored, 0, length};
}

// What an unfinished sequence becomes: wait for the rest, or drop it when none is coming.
DecodedKey unfinished(std::size_t length, bool no_more_bytes) {
  if (no_more_bytes || length >= kLongestSequence) return {Status::kIgnored, 0, length};
  return {Status::kNeedMore};
}

bool is_parameter_byte(unsigned char c) {
  return c >= 0x30 && c <= 0x3F;
}
bool is_intermediate_byte(unsigned char c) {
  return c >= 0x20 && c <= 0x2F;
}
bool is_final_byte(unsigned char c) {
  return c >= 0x40 && c <= 0x7E;
}

// The first number of a parameter list such as "1;5" (modifiers follow the ';').
int first_parameter(std::string_view params) {
  int n = 0;
  for (char c : params) {
    if (c < '0' || c > '9') break;
    if (n < 1000) n = n * 10 + (c - '0');
  }
  return n;
}

std::optional<std::uint8_t> csi_key(std::string_view params, char final_byte) {
  if (final_byte == '~') {
    int n = first_parameter(params);
    if (auto k = look_up(kTildeKeys, n)) return k;
    return look_up(kTildeKeysHigh, n);
  }
  return look_up(kLetterKeys, final_byte);
}

// The numbers of a parameter list "b;x;y"; false unless it is exactly three plain numbers.
bool three_parameters(std::string_view params, int (&numbers)[3]) {
  for (int n = 0; n < 3; ++n) {
    const std::size_t end = std::min(params.find(';'), params.size());
    const std::string_view part = params.substr(0, end);
    if (part.empty() || part.find_first_not_of("0123456789") != std::string_view::npos)
      return false;
    numbers[n] = first_parameter(part);
    params.remove_prefix(end);
    if (n == 2) break;
    if (params.empty()) return false;
    params.remove_prefix(1);  // the ';'
  }
  return params.empty();
}

// "ESC [ < b ; x ; y" ended by final_byte 'M' (press) or 'm' (release); length bytes in all.
DecodedKey sgr_mouse(std::string_view params, char final_byte, std::size_t length) {
  int numbers[3];
  if ((final_byte != 'M' && final_byte != 'm') || !three_parameters(params, numbers))
    return {Status::kIgnored, 0, length};
  DecodedKey decoded{Status::kMouse, 0, length, true};
  decoded.mouse = {numbers[0], numbers[1], numbers[2], final_byte == 'M'};
  return decoded;
}

// "ESC [ M" and three bytes: the button and the position, each 32 above its value.
DecodedKey legacy_mouse(std::string_view bytes, bool no_more_bytes) {
  constexpr std::size_t kLength = 6;
  if (bytes.size() < kLength) return unfinished(bytes.size(), no_more_bytes);
  auto value = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]) - 32; };
  DecodedKey decoded{Status::kMouse, 0, kLength, true};
  // The release of any button is reported as button 3.
  decoded.mouse = {value(3), value(4), value(5), (value(3) & 3) != 3};
  return decoded;
}

// bytes starts with "ESC [".
DecodedKey decode_csi(std::string_view bytes, bool no_more_bytes) {
  if (bytes.size() >= 3 && bytes[2] == '[') {  // Linux console "ESC [ [ X"
    if (bytes.size() < 4) return unfinished(bytes.size(), no_more_bytes);
    return key_of(look_up(kLinuxFunctionKeys, bytes[3]), 4);
  }
  if (bytes.size() >= 3 && bytes[2] == 'M') return legacy_mouse(bytes, no_more_bytes);
  std::size_t i = 2;
  while (i < bytes.size() && is_parameter_byte(static_cast<unsigned char>(bytes[i])))
    ++i;
  std::size_t params_end = i;
  while (i < bytes.size() && is_intermediate_byte(static_cast<unsigned char>(bytes[i])))
    ++i;
  if (i >= bytes.size()) return unfinished(i, no_more_bytes);
  if (!is_final_byte(static_cast<unsigned char>(bytes[i]))) {
    // Broken off by a control byte: drop what came before it, keep the byte.
    return {Status::kIgnored, 0, i};
  }
  if (params_end != i) return {Status::kIgnored, 0, i + 1};  // intermediates: not a key
  if (params_end > 2 && bytes[2] == '<') return sgr_mouse(bytes.substr(3, i - 3), bytes[i], i + 1);
  return key_of(csi_key(bytes.substr(2, params_end - 2), bytes[i]), i + 1);
}

// bytes starts with "ESC O": one final letter, perhaps after a modifier digit.
DecodedKey decode_ss3(std::string_view bytes, bool no_more_bytes) {
  std::size_t i = 2;
  while (i < bytes.size() && is_parameter_byte(static_cast<unsigned char>(bytes[i])))
    ++i;
  if (i >= bytes.size()) return unfinished(i, no_more_bytes);
  if (!is_final_byte(static_cast<unsigned char>(bytes[i]))) return {Status::kIgnored, 0, i};
  return key_of(look_up(kLetterKeys, bytes[i]), i + 1);
}

DecodedKey decode_escape(std::string_view bytes, bool no_more_bytes) {
  if (bytes.size() == 1) {
    if (no_more_bytes) return {Status::kKey, key::kEscape, 1};
    return {Status::kNeedMore};
  }
  const auto next = static_cast<unsigned char>(bytes[1]);
  if (next == '[') return decode_csi(bytes, no_more_bytes);
  if (next == 'O') return decode_ss3(bytes, no_more_bytes);
  // Alt with a printable key: a combination we do not hand out.
  if (next >= 0x20 && next < 0x7F) return {Status::kIgnored, 0, 2};
  return {Status::kKey, key::kEscape, 1};
}

DecodedKey decode_multibyte(std::string_view bytes, const KeyDecoderOptions& options,
                            bool no_more_bytes) {
  if (!options.charset.is_utf8()) {
    std::uint8_t byte = options.charset.typed_byte(static_cast<std::uint8_t>(bytes[0]));
    return {byte == 0 ? Status::kIgnored : Status::kKey, byte, 1};
  }
  Utf8Step step = decode_utf8(bytes);
  switch (step.status) {
    case Utf8Step::Status::kIncomplete:
      return unfinished(bytes.size(), no_more_bytes);
    case Utf8Step::Status::kInvalid:
      return {Status::kIgnored, 0, step.length};
    case Utf8Step::Status::kChar:
      break;
  }
  std::uint8_t byte = cp866_from_unicode(step.code_point).value_or(0);
  if (byte == 0) return {Status::kIgnored, 0, step.length};
  return {Status::kKey, byte, step.length};
}

}  // namespace

DecodedKey decode_key(std::string_view bytes, const KeyDecoderOptions& options,
                      bool no_more_bytes) {
  if (bytes.empty()) return {Status::kNeedMore};
  const auto first = static_cast<unsigned char>(bytes[0]);
  switch (first) {
    case '\r':
      if (options.collapse_crlf) {
        if (bytes.size() >= 2) return {Status::kKey, key::kEnter, bytes[1] == '\n' ? 2u : 1u};
        if (!no_more_bytes) return {Status::kNeedMore};
      }
      return {Status::kKey, key::kEnter, 1};
    case '\n':
      return {Status::kKey, key::kEnter, 1};
    case 0x7F:
    case 0x08:
      return {Status::kKey, key::kBackspace, 1};
    case 0x00:
      return {Status::kIgnored, 0, 1};
    case 0x1B:
      return decode_escape(bytes, no_more_bytes);
    default:
      break;
  }
  if (first < 0x80) return {Status::kKey, first, 1};
  return decode_multibyte(bytes, options, no_more_bytes);
}

}  // namespace tindel
