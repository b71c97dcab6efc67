#pragma once
// Music, sounds and pictures played by the programs the system offers (timidity, paplay,
// xdg-open, ... or the ones named by TINDEL_MIDI_PLAYER, TINDEL_WAVE_PLAYER and
// TINDEL_IMAGE_VIEWER). Every operation returns at once and says nothing when it cannot play.
#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "UTypes/media/external/child_process.h"
#include "UTypes/media/external/player_command.h"
#include "UTypes/media/media_player.h"

namespace tindel {

class SystemMedia : public MediaPlayer {
 public:
  // The players are chosen once, here.
  explicit SystemMedia(const PlayerSearch& search);
  // Stops what still plays, like stop_all().
  ~SystemMedia() override;
  SystemMedia(const SystemMedia&) = delete;
  SystemMedia& operator=(const SystemMedia&) = delete;

  // Starting a tune stops the one that plays; stopping with none playing does nothing.
  void playmidi(const std::string& file, bool start) override;
  // One sound at a time: a new sound cuts off the one that still plays.
  void playwave(const std::string& file) override;
  // Viewers are the player's own windows: they stay open, also after stop_all().
  void showimage(const std::string& file) override;
  void stop_all() override;

 private:
  static pid_t start(const std::optional<PlayerCommand>& player, const std::string& file,
                     ChildLifetime lifetime);
  static void stop(pid_t& pid);
  void reap_finished();

  std::optional<PlayerCommand> midi_player_;
  std::optional<PlayerCommand> wave_player_;
  std::optional<PlayerCommand> image_viewer_;
  pid_t tune_ = 0;  // each player leads its own process group: pid and group id are the same
  pid_t sound_ = 0;
  std::vector<pid_t> viewers_;
};

}  // namespace tindel
