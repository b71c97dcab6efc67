#include "UTypes/console/key_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace tindel {
namespace {

// A reader on the read end of a real pipe; the test writes into the other end.
class PipedReader {
 public:
  PipedReader() {
    EXPECT_EQ(::pipe(fds_), 0);
    reader_ = std::make_unique<KeyReader>(fds_[0], KeyDecoderOptions{.collapse_crlf = true});
  }
  ~PipedReader() {
    reader_.reset();
    for (int fd : fds_)
      if (fd >= 0) ::close(fd);
  }

  KeyReader& reader() { return *reader_; }
  // Writes bytes (no more than a pipe holds) and reads them into the reader's buffer.
  void arrive(const std::string& bytes) {
    ASSERT_EQ(::write(fds_[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ASSERT_EQ(reader_->fill(1000), KeyReader::Fill::kData);
  }
  void end_input() {
    ::close(fds_[1]);
    fds_[1] = -1;
    EXPECT_EQ(reader_->fill(1000), KeyReader::Fill::kEnd);
  }

 private:
  int fds_[2] = {-1, -1};
  std::unique_ptr<KeyReader> reader_;
};

std::string keys_until_empty(KeyReader& reader) {
  std::string keys;
  while (std::optional<std::uint8_t> key = reader.take_key())
    keys.push_back(static_cast<char>(*key));
  return keys;
}

// Keys and lines come from one buffer, in the order they arrived.
TEST(KeyReader, KeysAndLinesShareOneBuffer) {
  PipedReader piped;
  KeyReader& reader = piped.reader();
  piped.arrive("ab");
  EXPECT_EQ(reader.take_key(), std::optional<std::uint8_t>('a'));
  EXPECT_FALSE(reader.take_line()) << "no whole line yet";
  piped.arrive("c\r\nnext");
  EXPECT_EQ(reader.take_line(), std::optional<std::string>("bc")) << "the \\r is dropped";
  EXPECT_FALSE(reader.take_line());
  EXPECT_EQ(reader.take_key(), std::optional<std::uint8_t>('n'));
  piped.end_input();
  EXPECT_EQ(reader.take_line(), std::optional<std::string>("ext")) << "the unterminated rest";
  EXPECT_TRUE(reader.empty());
  EXPECT_FALSE(reader.take_line()) << "nothing after the end";
}

// Mouse reports come out between the keys in order, and the key readers pass them over.
TEST(KeyReader, MouseReportsAmongKeys) {
  PipedReader piped;
  KeyReader& reader = piped.reader();
  piped.arrive("a\x1b[<0;4;9Mb\x1b[<0;4;9m");
  EXPECT_EQ(reader.take_event()->key, 'a');
  std::optional<DecodedKey> click = reader.take_event();
  ASSERT_TRUE(click);
  EXPECT_EQ(click->status, DecodedKey::Status::kMouse);
  EXPECT_EQ(click->mouse.row, 9);
  EXPECT_EQ(reader.take_event()->key, 'b');
  EXPECT_EQ(reader.take_event()->status, DecodedKey::Status::kMouse);
  EXPECT_FALSE(reader.take_event());
  piped.arrive("\x1b[<64;1;1Mc\x1b[<65;1;1M");
  EXPECT_EQ(keys_until_empty(reader), "c");
}

// A line that arrives in many pieces is searched once: each byte looked at one time.
TEST(KeyReader, LongLineIsSearchedOnce) {
  PipedReader piped;
  KeyReader& reader = piped.reader();
  const std::string piece(4000, 'x');
  constexpr int kPieces = 500;
  for (int i = 0; i < kPieces; ++i) {
    piped.arrive(piece);
    ASSERT_FALSE(reader.take_line()) << "piece " << i;
  }
  piped.arrive("!\nafter\n");
  std::optional<std::string> line = reader.take_line();
  ASSERT_TRUE(line);
  EXPECT_EQ(line->size(), piece.size() * kPieces + 1);
  EXPECT_EQ(line->back(), '!');
  EXPECT_EQ(reader.take_line(), std::optional<std::string>("after"));
  EXPECT_LE(reader.bytes_searched(), piece.size() * kPieces + 16);
}

// Many keys taken one by one, with lines between them, across the points where the used
// part of the buffer is dropped: nothing is lost, repeated or taken out of order.
TEST(KeyReader, ManyKeysAndLinesKeepTheirOrder) {
  PipedReader piped;
  KeyReader& reader = piped.reader();
  std::string expected_keys;
  for (int round = 0; round < 40; ++round) {
    std::string keys;
    for (int i = 0; i < 3000; ++i)
      keys.push_back(static_cast<char>('a' + (round + i) % 26));
    piped.arrive(keys + "line " + std::to_string(round) + "\n");
    std::string got;
    for (std::size_t i = 0; i < keys.size(); ++i)
      got.push_back(static_cast<char>(reader.take_key().value_or('?')));
    ASSERT_EQ(got, keys) << "round " << round;
    ASSERT_EQ(reader.take_line(), std::optional<std::string>("line " + std::to_string(round)))
        << "round " << round;
  }
  EXPECT_TRUE(reader.empty());
  piped.arrive("zz");
  reader.clear();
  EXPECT_TRUE(reader.empty());
  EXPECT_EQ(keys_until_empty(reader), "") << "clear forgets what was buffered";
}

}  // namespace
}  // namespace tindel
