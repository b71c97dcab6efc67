#pragma once
// The moments Back goes through: the byte form of each menu's moment, newest last. The
// oldest are dropped beyond kMaxMoments or beyond kMaxBytes, the newest always kept.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tindel {

class MomentHistory {
 public:
  static constexpr std::size_t kMaxMoments = 1000;
  static constexpr std::size_t kMaxBytes = 10u << 20;

  // Told of every moment kept (the file that lets a game continue later).
  void set_listener(std::function<void(std::string_view)> listener) {
    listener_ = std::move(listener);
  }
  // Whether the player's keys go back and restart; the moments are kept either way.
  void set_back_keys(bool on) { back_keys_ = on; }
  bool back_keys() const { return back_keys_; }
  void keep(std::string bytes);
  // Moments point into one text of the quest: when it was read anew (edited on disk), the
  // moments of the text before are dropped.
  void follow_quest_version(std::uint64_t version);
  // Drops the newest moment and gives the one before it; nullopt (nothing dropped) when the
  // newest is the only one.
  std::optional<std::string> step_back();
  void clear();
  std::optional<std::string> newest() const;
  // The whole history as one byte string (the count, then each moment), so that a front end
  // that starts its interpreter afresh for Back (the page) can hand it on.
  std::string to_bytes() const;
  // Puts in place the history of such bytes, without telling the listener; false (the
  // history left as it was) when they are not what to_bytes writes or hold more moments
  // than a history keeps. The moments themselves are not looked into.
  bool from_bytes(std::string_view bytes);
  std::size_t size() const { return moments_.size(); }
  std::size_t bytes() const { return bytes_; }

 private:
  void push(std::string bytes);

  std::deque<std::string> moments_;
  std::size_t bytes_ = 0;
  bool back_keys_ = true;
  std::uint64_t quest_version_ = 0;
  std::function<void(std::string_view)> listener_;
};

}  // namespace tindel
