#pragma once
// The bytes that arrive on an input file descriptor, handed out as keys or as whole lines
// from one buffer. Used by the terminal and the stream front ends.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "UTypes/console/key_decoder.h"

namespace tindel {

class KeyReader {
 public:
  // How long the rest of an escape sequence (or of "\r\n") may take to follow its start.
  static constexpr int kSequenceTimeoutMs = 25;

  enum class Fill { kData, kTimeout, kInterrupted, kEnd };

  KeyReader(int fd, KeyDecoderOptions options) : fd_(fd), options_(options) {}

  // Reads what has arrived, waiting at most timeout_ms for it (-1: as long as it takes).
  Fill fill(int timeout_ms);
  // The next key in the buffer; mouse reports are passed over. An unfinished sequence is
  // held back until its rest arrives, kSequenceTimeoutMs pass without a byte, or the input
  // ends.
  std::optional<std::uint8_t> take_key();
  // The same with whether the key came as an escape sequence (for the line editor).
  std::optional<DecodedKey> take_decoded();
  // The next key or mouse report (status kKey or kMouse), held back as take_key does.
  std::optional<DecodedKey> take_event();
  // The bytes up to the next "\n" without it and without any "\r"; at the end of input
  // the unterminated rest. nullopt while no whole line is buffered.
  std::optional<std::string> take_line();

  bool empty() const { return start_ == buffer_.size(); }
  bool ended() const { return ended_; }
  // A terminal goes on after an end-of-file key: read again after it.
  void forget_end() { ended_ = false; }
  void clear();
  // Time left until a held-back sequence is decided without its rest, in milliseconds.
  int sequence_wait_left() const;
  // How many bytes the line search has looked at so far: each byte once, however the line
  // arrives, so a long line costs time in proportion to its length.
  std::size_t bytes_searched() const { return bytes_searched_; }

 private:
  // Hands out the next n bytes; the buffer is compacted only when most of it is handed out.
  void consume(std::size_t n);

  int fd_;
  KeyDecoderOptions options_;
  std::string buffer_;
  std::size_t start_ = 0;     // the bytes before it are handed out
  std::size_t searched_ = 0;  // no "\n" from start_ up to here
  std::size_t bytes_searched_ = 0;
  bool ended_ = false;
  std::chrono::steady_clock::time_point last_arrival_{};
};

}  // namespace tindel
