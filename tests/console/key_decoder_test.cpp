#include "UTypes/console/key_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UTypes/console/console.h"

namespace tindel {
namespace {

// All keys in bytes, decoding as a reader does when nothing more is coming.
std::vector<int> keys_of(std::string bytes, KeyDecoderOptions options = {}) {
  std::vector<int> keys;
  while (!bytes.empty()) {
    DecodedKey d = decode_key(bytes, options, true);
    if (d.status == DecodedKey::Status::kNeedMore || d.length == 0) {
      ADD_FAILURE() << "stuck at " << bytes.size() << " bytes";
      break;
    }
    if (d.status == DecodedKey::Status::kKey) keys.push_back(d.key);
    bytes.erase(0, d.length);
  }
  return keys;
}

struct Case {
  const char* name;
  std::string bytes;
  std::vector<int> keys;
};

TEST(KeyDecoder, BytesToKeyCodes) {
  const std::vector<Case> cases = {
      {"letters and digits", "aZ7 ", {'a', 'Z', '7', ' '}},
      {"Enter as CR", "\r", {13}},
      {"Enter as LF", "\n", {13}},
      {"CR LF is two Enters on a terminal", "\r\n", {13, 13}},
      {"DEL and BS are Backspace", "\x7f\b", {8, 8}},
      {"Tab and Ctrl+A pass", "\t\x01", {9, 1}},
      {"NUL means nothing", std::string("\0a", 2), {'a'}},
      {"lone Escape", "\x1b", {27}},
      {"Escape Escape", "\x1b\x1b", {27, 27}},
      {"arrows, CSI", "\x1b[A\x1b[B\x1b[C\x1b[D", {72, 80, 39, 37}},
      {"arrows, SS3", "\x1bOA\x1bOB\x1bOC\x1bOD", {72, 80, 39, 37}},
      {"Ctrl+Up and Shift+Down", "\x1b[1;5A\x1b[1;2B", {72, 80}},
      {"Home End", "\x1b[H\x1b[F\x1bOH\x1bOF", {36, 35, 36, 35}},
      {"Home End as tilde", "\x1b[1~\x1b[4~\x1b[7~\x1b[8~", {36, 35, 36, 35}},
      {"Insert Delete PgUp PgDn", "\x1b[2~\x1b[3~\x1b[5~\x1b[6~", {45, 46, 33, 34}},
      {"Ctrl+Delete", "\x1b[3;5~", {46}},
      {"F1-F4 SS3", "\x1bOP\x1bOQ\x1bOR\x1bOS", {112, 113, 114, 115}},
      {"F1-F4 with a modifier", "\x1b[1;2P\x1bO5S", {112, 115}},
      {"F1-F5 tilde", "\x1b[11~\x1b[12~\x1b[13~\x1b[14~\x1b[15~", {112, 113, 114, 115, 116}},
      {"F6-F12 tilde",
       "\x1b[17~\x1b[18~\x1b[19~\x1b[20~\x1b[21~\x1b[23~\x1b[24~",
       {117, 118, 119, 120, 121, 122, 123}},
      {"F1-F5 Linux console", "\x1b[[A\x1b[[B\x1b[[C\x1b[[D\x1b[[E", {112, 113, 114, 115, 116}},
      {"unknown CSI swallowed whole", "\x1b[200~x\x1b[99;99Zy\x1b[?1;2c", {'x', 'y'}},
      {"unknown SS3 swallowed", "\x1bOzq", {'q'}},
      {"CSI with intermediates swallowed", "\x1b[1 qk", {'k'}},
      {"Alt+letter swallowed", "\x1bxk", {'k'}},
      {"CSI broken off keeps the next byte", "\x1b[1\r", {13}},
      {"Cyrillic from UTF-8", "Аяё", {0x80, 0xEF, 0xF1}},
      {"unmappable UTF-8 dropped", "a€b", {'a', 'b'}},
      {"invalid UTF-8 dropped", "a\xFF\xC3z", {'a', 'z'}},
      {"DOS glyph back to its byte", "☺", {1}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(keys_of(c.bytes), c.keys) << c.name;
}

TEST(KeyDecoder, StreamsCollapseCrLf) {
  KeyDecoderOptions stream{.collapse_crlf = true};
  EXPECT_EQ(keys_of("\r\n", stream), std::vector<int>{13});
  EXPECT_EQ(keys_of("\r\r\n\n", stream), (std::vector<int>{13, 13, 13}));
  EXPECT_EQ(keys_of("\ra", stream), (std::vector<int>{13, 'a'}));
}

TEST(KeyDecoder, RawBytesWhenTheInputIsNotUtf8) {
  KeyDecoderOptions raw{.charset = Charset(CharsetKind::kCp866), .collapse_crlf = false};
  EXPECT_EQ(keys_of("\x80\xEF\xFF", raw), (std::vector<int>{0x80, 0xEF, 0xFF}));
}

// Bytes that may be the start of something longer wait for the rest, then decide.
TEST(KeyDecoder, UnfinishedInputWaitsUntilNothingMoreComes) {
  const KeyDecoderOptions terminal{};
  const KeyDecoderOptions stream{.collapse_crlf = true};
  struct Pending {
    std::string bytes;
    KeyDecoderOptions options;
    DecodedKey::Status decided;
    int key;
    std::size_t length;
  };
  const std::vector<Pending> cases = {
      {"\x1b", terminal, DecodedKey::Status::kKey, 27, 1},
      {"\x1b[", terminal, DecodedKey::Status::kIgnored, 0, 2},
      {"\x1b[1;5", terminal, DecodedKey::Status::kIgnored, 0, 5},
      {"\x1bO", terminal, DecodedKey::Status::kIgnored, 0, 2},
      {"\x1b[[", terminal, DecodedKey::Status::kIgnored, 0, 3},
      {"\xD0", terminal, DecodedKey::Status::kIgnored, 0, 1},
      {"\r", stream, DecodedKey::Status::kKey, 13, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(decode_key(c.bytes, c.options, false).status, DecodedKey::Status::kNeedMore)
        << c.bytes;
    DecodedKey decided = decode_key(c.bytes, c.options, true);
    EXPECT_EQ(decided.status, c.decided) << c.bytes;
    EXPECT_EQ(decided.key, c.key) << c.bytes;
    EXPECT_EQ(decided.length, c.length) << c.bytes;
  }
  // The rest arriving completes it.
  DecodedKey up = decode_key("\x1b[A", terminal, false);
  EXPECT_EQ(up.status, DecodedKey::Status::kKey);
  EXPECT_EQ(up.key, key::kUp);
  EXPECT_EQ(up.length, 3u);
}

TEST(KeyDecoder, EndlessSequenceIsDroppedWithoutWaiting) {
  std::string junk = "\x1b[" + std::string(40, '1');
  DecodedKey d = decode_key(junk, {}, false);
  EXPECT_EQ(d.status, DecodedKey::Status::kIgnored);
  EXPECT_GT(d.length, 2u);
}

struct MouseCase {
  const char* name;
  std::string bytes;
  MouseReport report;
};

bool operator==(const MouseReport& a, const MouseReport& b) {
  return a.button == b.button && a.column == b.column && a.row == b.row && a.press == b.press;
}

// Mouse reports are decoded whole, never handed out as keys, and what follows them is.
TEST(KeyDecoder, MouseReports) {
  const std::vector<MouseCase> cases = {
      {"SGR left press", "\x1b[<0;12;7M", {0, 12, 7, true}},
      {"SGR left release", "\x1b[<0;12;7m", {0, 12, 7, false}},
      {"SGR wheel down", "\x1b[<65;1;1M", {65, 1, 1, true}},
      {"SGR with Ctrl held", "\x1b[<16;3;4M", {16, 3, 4, true}},
      {"SGR beyond column 223", "\x1b[<0;300;120M", {0, 300, 120, true}},
      {"older form, press at 1,1", "\x1b[M !!", {0, 1, 1, true}},
      {"older form, release", "\x1b[M#+%", {3, 11, 5, false}},
  };
  for (const auto& c : cases) {
    DecodedKey d = decode_key(c.bytes + "x", {}, false);
    EXPECT_EQ(d.status, DecodedKey::Status::kMouse) << c.name;
    EXPECT_EQ(d.length, c.bytes.size()) << c.name;
    EXPECT_TRUE(d.mouse == c.report) << c.name;
    EXPECT_EQ(keys_of(c.bytes + "x"), std::vector<int>{'x'}) << c.name;
  }
}

TEST(KeyDecoder, MalformedMouseReportsAreDroppedWhole) {
  for (std::string bytes : {"\x1b[<0;1M", "\x1b[<0;1;2;3M", "\x1b[<0;1;2X", "\x1b[<0;;2M",
                            "\x1b[<0:1;2;3M", "\x1b[<;1;2m"}) {
    DecodedKey d = decode_key(bytes + "p", {}, false);
    EXPECT_EQ(d.status, DecodedKey::Status::kIgnored) << bytes;
    EXPECT_EQ(d.length, bytes.size()) << bytes;
  }
}

// A report split across reads: every start of it waits for the rest; once nothing more
// comes the start is dropped, not read as keys.
TEST(KeyDecoder, AMouseReportCutShortWaitsForItsRest) {
  for (std::string whole : {"\x1b[<0;12;7M", "\x1b[M !!"}) {
    for (std::size_t n = 1; n < whole.size(); ++n) {
      const std::string start = whole.substr(0, n);
      EXPECT_EQ(decode_key(start, {}, false).status, DecodedKey::Status::kNeedMore) << n;
      if (n > 1) {
        EXPECT_EQ(keys_of(start), std::vector<int>{}) << n;
      }
    }
  }
}

}  // namespace
}  // namespace tindel
