#pragma once
// Sends each medium where it can be played: to the outside program that TINDEL_MIDI_PLAYER,
// TINDEL_WAVE_PLAYER or TINDEL_IMAGE_VIEWER names; otherwise tunes and sounds to the in-process
// audio engine, and pictures to the desktop's viewer in a graphical session or else to the
// terminal the program runs in.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "UTypes/media/external/player_command.h"
#include "UTypes/media/external/system_media.h"
#include "UTypes/media/media_log.h"
#include "UTypes/media/media_player.h"
#include "UTypes/media/picture_sink.h"
#include "UTypes/media/sdl/sdl_audio.h"
#include "UTypes/media/sdl/soundfont.h"

namespace tindel {

enum class PictureRoute { kNone, kExternal, kTerminal };

struct MediaRoutes {
  bool external_midi = false;
  bool external_wave = false;
  PictureRoute picture = PictureRoute::kNone;
  // Why the outside program of a medium plays nothing (its variable is set but empty, or names
  // no program); empty when it plays.
  std::string midi_off;
  std::string wave_off;
  std::string image_off;
};

// The routes for the environment. has_terminal_pictures: the front end can draw pictures;
// has_desktop_viewer: a viewer program of the desktop was found (without one a graphical
// session's pictures go to the terminal as well); accessible: the accessible mode, in which
// no desktop viewer opens by itself (its window would take the keyboard from the terminal),
// only one the player named.
MediaRoutes choose_media_routes(const EnvLookup& getenv, bool has_terminal_pictures,
                                bool has_desktop_viewer = true, bool accessible = false);

// Why the program that the variable of `kind` names cannot play: empty when the variable is
// unset or names a program that is there.
std::string outside_player_off(MediaKind kind, const PlayerSearch& search);

class MediaRouter : public MediaPlayer {
 public:
  // external plays what goes outside (may be null when nothing does); pictures may be null.
  MediaRouter(MediaRoutes routes, std::unique_ptr<MediaPlayer> external,
              std::unique_ptr<SdlAudio> audio, PictureSink* pictures, MediaLog log);

  void playmidi(const std::string& file, bool start) override;
  void playwave(const std::string& file) override;
  void showimage(const std::string& file) override;
  void stop_all() override;
  void file_missing(const char* what, const std::string& file) override;

 private:
  // True, and "<event>: <off>" logged, when the outside program of a medium plays nothing.
  bool outside_is_off(const std::string& off, const std::string& event) const;

  MediaRoutes routes_;
  std::unique_ptr<MediaPlayer> external_;
  std::unique_ptr<SdlAudio> audio_;
  PictureSink* pictures_;
  MediaLog log_;
};

// The media of the real system, from the process's environment; pictures: the front end's
// drawing of pictures, or null.
std::unique_ptr<MediaPlayer> make_system_media(PictureSink* pictures = nullptr,
                                               bool accessible = false);

}  // namespace tindel
