#include "UTypes/moments/moment_history.h"

namespace tindel {

void MomentHistory::keep(std::string bytes) {
  if (listener_) listener_(bytes);
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

void MomentHistory::clear() {
  moments_.clear();
  bytes_ = 0;
}

}  // namespace tindel
