#pragma once
// Back, restart and continuing for one run of a quest: the history of moments the menus
// keep, the file of the last one, and the start at that moment when the player continues.
#include <optional>
#include <string>

#include "UTypes/moments/moment.h"
#include "UTypes/moments/moment_history.h"
#include "program/startup.h"

namespace tindel {

class PlayMoments {
 public:
  // After the quest is open: the menus keep their moments from here on.
  PlayMoments(InterpreterState& s, const MomentOptions& options);
  ~PlayMoments();
  PlayMoments(const PlayMoments&) = delete;
  PlayMoments& operator=(const PlayMoments&) = delete;

  // When the player continues (asked on a title line when the options say so): the state
  // and the screen of the file's moment, and the menu to wait at; the same for the newest
  // moment of a history handed on. nullopt for a new game; problem() then says why, when a
  // file or a history was there and could not be used.
  std::optional<MenuWait> start(InterpreterState& s);
  const std::string& problem() const { return problem_; }

 private:
  std::optional<Moment> file_moment(InterpreterState& s);
  std::optional<Moment> handed_on_moment();
  MenuWait wait_at(InterpreterState& s, const Moment& moment);
  void keep_in_file(std::string_view moment_bytes);

  InterpreterState& s_;
  MomentOptions options_;
  MomentHistory history_;
  std::string path_;
  std::string identity_;
  std::uint64_t identity_version_ = 0;
  std::string problem_;
};

}  // namespace tindel
