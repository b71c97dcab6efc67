#include "UTypes/console/key_reader.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tindel {

KeyReader::Fill KeyReader::fill(int timeout_ms) {
  if (ended_) return Fill::kEnd;
  pollfd p{fd_, POLLIN, 0};
  int ready = ::poll(&p, 1, timeout_ms);
  if (ready < 0) return errno == EINTR ? Fill::kInterrupted : Fill::kEnd;
  if (ready == 0) return Fill::kTimeout;
  char bytes[65536];
  ssize_t n = ::read(fd_, bytes, sizeof bytes);
  if (n > 0) {
    buffer_.append(bytes, static_cast<std::size_t>(n));
    last_arrival_ = std::chrono::steady_clock::now();
    return Fill::kData;
  }
  if (n < 0 && errno == EINTR) return Fill::kInterrupted;
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return Fill::kTimeout;
  ended_ = true;
  return Fill::kEnd;
}

int KeyReader::sequence_wait_left() const {
  auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - last_arrival_)
                    .count();
  return static_cast<int>(
      std::clamp<long long>(kSequenceTimeoutMs - waited, 0, kSequenceTimeoutMs));
}

std::optional<std::uint8_t> KeyReader::take_key() {
  std::optional<DecodedKey> decoded = take_decoded();
  if (!decoded) return std::nullopt;
  return decoded->key;
}

std::optional<DecodedKey> KeyReader::take_decoded() {
  while (std::optional<DecodedKey> event = take_event())
    if (event->status == DecodedKey::Status::kKey) return event;
  return std::nullopt;
}

std::optional<DecodedKey> KeyReader::take_event() {
  while (!empty()) {
    const bool no_more_bytes = ended_ || sequence_wait_left() == 0;
    const std::string_view rest = std::string_view(buffer_).substr(start_);
    DecodedKey decoded = decode_key(rest, options_, no_more_bytes);
    if (decoded.status == DecodedKey::Status::kNeedMore) return std::nullopt;
    consume(decoded.length);
    if (decoded.status == DecodedKey::Status::kKey || decoded.status == DecodedKey::Status::kMouse)
      return decoded;
  }
  return std::nullopt;
}

std::optional<std::string> KeyReader::take_line() {
  const std::size_t from = std::max(start_, searched_);
  const std::size_t end = buffer_.find('\n', from);
  const std::size_t stop = end == std::string::npos ? buffer_.size() : end;
  bytes_searched_ += stop - from;
  searched_ = stop;
  if (end == std::string::npos && !(ended_ && !empty())) return std::nullopt;
  std::string line = buffer_.substr(start_, stop - start_);
  consume(stop - start_ + (end == std::string::npos ? 0 : 1));
  std::erase(line, '\r');
  return line;
}

void KeyReader::clear() {
  buffer_.clear();
  start_ = searched_ = 0;
}

void KeyReader::consume(std::size_t n) {
  start_ += n;
  if (start_ >= buffer_.size()) {
    clear();
  } else if (start_ >= 4096 && start_ * 2 >= buffer_.size()) {
    buffer_.erase(0, start_);
    searched_ -= std::min(searched_, start_);
    start_ = 0;
  }
}

}  // namespace tindel
