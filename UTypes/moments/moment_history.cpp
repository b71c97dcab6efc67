#include "UTypes/moments/moment_history.h"

#include "UTypes/moments/byte_stream.h"

namespace tindel {

void MomentHistory::keep(std::string bytes) {
  if (listener_) listener_(bytes);
  push(std::move(bytes));
}

void MomentHistory::push(std::string bytes) {
  bytes_ += bytes.size();
  moments_.push_back(std::move(bytes));
  while (moments_.size() > 1 && (moments_.size() > kMaxMoments || bytes_ > kMaxBytes)) {
    bytes_ -= moments_.front().size();
    moments_.pop_front();
  }
}

std::optional<std::string> MomentHistory::step_back() {
  if (moments_.size() < 2) return std::nullopt;
  bytes_ -= moments_.back().size();
  moments_.pop_back();
  if (listener_) listener_(moments_.back());
  return moments_.back();
}

void MomentHistory::follow_quest_version(std::uint64_t version) {
  if (version != quest_version_) clear();
  quest_version_ = version;
}

std::optional<std::string> MomentHistory::newest() const {
  if (moments_.empty()) return std::nullopt;
  return moments_.back();
}

std::string MomentHistory::to_bytes() const {
  ByteWriter out;
  out.number(static_cast<std::uint32_t>(moments_.size()));
  for (const std::string& moment : moments_)
    out.text(moment);
  return std::move(out.bytes());
}

bool MomentHistory::from_bytes(std::string_view bytes) {
  ByteReader in(bytes);
  auto count = in.number<std::uint32_t>();
  if (count > kMaxMoments) in.fail();
  std::deque<std::string> moments;
  for (std::uint32_t i = 0; i < count && in.ok(); ++i)
    moments.push_back(in.text(bytes.size()));
  if (!in.ok() || !in.at_end()) return false;
  clear();
  for (std::string& moment : moments)
    push(std::move(moment));
  return true;
}

void MomentHistory::clear() {
  moments_.clear();
  bytes_ = 0;
}

}  // namespace tindel
