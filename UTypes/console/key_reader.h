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
  // The next key in the buffer. An unfinished sequence is held back until its rest arrives,
  // kSequenceTimeoutMs pass without a byte, or the input ends.
  std::optional<std::uint8_t> take_key();
  // The same with whether the key came as an escape sequence (for the line editor).
  std::optional<DecodedKey> take_decoded();
  // The bytes up to the next "\n" without it and without any "\r"; at the end of input
  // the unterminated rest. nullopt while no whole line is buffered.
  std::optional<std::string> take_line();

  bool empty() const { return buffer_.empty(); }
  bool ended() const { return ended_; }
  // A terminal goes on after an end-of-file key: read again after it.
  void forget_end() { ended_ = false; }
  void clear() { buffer_.clear(); }
  // Time left until a held-back sequence is decided without its rest, in milliseconds.
  int sequence_wait_left() const;

 private:
  int fd_;
  KeyDecoderOptions options_;
  std::string buffer_;
  bool ended_ = false;
  std::chrono::steady_clock::time_point last_arrival_{};
};

}  // namespace tindel
