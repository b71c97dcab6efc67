#include "UTypes/media/external/system_media.h"

#include <chrono>

#include "UTypes/media/external/child_process.h"
#include "UTypes/media/external/live_players.h"

namespace tindel {

namespace {

// How long a player may take to end after SIGTERM before it is killed.
constexpr std::chrono::milliseconds kStopGrace(200);

// Forgets and collects a tune or sound that has ended by itself.
void release_if_ended(pid_t& pid) {
  if (pid == 0 || !has_ended(pid)) return;
  untrack_player(pid);
  reap(pid);
  pid = 0;
}

}  // namespace

SystemMedia::SystemMedia(const PlayerSearch& search)
    : midi_player_(choose_player(MediaKind::kMidi, search)),
      wave_player_(choose_player(MediaKind::kWave, search)),
      image_viewer_(choose_player(MediaKind::kImage, search)) {}

SystemMedia::~SystemMedia() {
  stop_all();
}

void SystemMedia::playmidi(const std::string& file, bool start) {
  reap_finished();
  stop(tune_);
  if (!start) return;
  tune_ = SystemMedia::start(midi_player_, file, ChildLifetime::kEndsWithUs);
  track_player(tune_);
}

void SystemMedia::playwave(const std::string& file) {
  reap_finished();
  stop(sound_);
  sound_ = start(wave_player_, file, ChildLifetime::kEndsWithUs);
  track_player(sound_);
}

void SystemMedia::showimage(const std::string& file) {
  reap_finished();
  pid_t viewer = start(image_viewer_, file, ChildLifetime::kOutlivesUs);
  if (viewer != 0) viewers_.push_back(viewer);
}

void SystemMedia::stop_all() {
  stop(tune_);
  stop(sound_);
  reap_finished();
}

pid_t SystemMedia::start(const std::optional<PlayerCommand>& player, const std::string& file,
                         ChildLifetime lifetime) {
  if (!player || file.empty()) return 0;
  std::vector<std::string> args = player->args;
  args.push_back(file_argument(file));
  return spawn_detached(player->program, args, lifetime);
}

void SystemMedia::stop(pid_t& pid) {
  if (pid == 0) return;
  end_group(pid, kStopGrace);
  untrack_player(pid);
  reap(pid);
  pid = 0;
}

void SystemMedia::reap_finished() {
  release_if_ended(tune_);
  release_if_ended(sound_);
  std::erase_if(viewers_, [](pid_t viewer) {
    if (!has_ended(viewer)) return false;
    reap(viewer);
    return true;
  });
}

}  // namespace tindel
