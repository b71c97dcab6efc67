#include "UTypes/media/media_router.h"

#include <cstdlib>

#include "UTypes/media/external/command_words.h"
#include "UTypes/media/external/player_command.h"

namespace tindel {

namespace {

bool is_set(const EnvLookup& getenv, const char* name) {
  return getenv && getenv(name).has_value();
}

bool is_set_non_empty(const EnvLookup& getenv, const char* name) {
  std::optional<std::string> value = getenv ? getenv(name) : std::nullopt;
  return value && !value->empty();
}

}  // namespace

MediaRoutes choose_media_routes(const EnvLookup& getenv, bool has_terminal_pictures,
                                bool has_desktop_viewer, bool accessible) {
  MediaRoutes routes;
  routes.external_midi = is_set(getenv, player_variable(MediaKind::kMidi));
  routes.external_wave = is_set(getenv, player_variable(MediaKind::kWave));
  const bool graphical =
      is_set_non_empty(getenv, "DISPLAY") || is_set_non_empty(getenv, "WAYLAND_DISPLAY");
  const bool desktop = graphical && has_desktop_viewer && !accessible;
  if (is_set(getenv, player_variable(MediaKind::kImage)) || desktop) {
    routes.picture = PictureRoute::kExternal;
  } else if (has_terminal_pictures) {
    routes.picture = PictureRoute::kTerminal;
  }
  return routes;
}

std::string outside_player_off(MediaKind kind, const PlayerSearch& search) {
  std::optional<std::string> value =
      search.getenv ? search.getenv(player_variable(kind)) : std::nullopt;
  if (!value || choose_player(kind, search)) return {};
  const std::string variable = player_variable(kind);
  if (split_command_words(*value).empty())
    return variable + " is set but empty, which turns it off";
  return variable + " names no program that can be started";
}

MediaRouter::MediaRouter(MediaRoutes routes, std::unique_ptr<MediaPlayer> external,
                         std::unique_ptr<SdlAudio> audio, PictureSink* pictures, MediaLog log)
    : routes_(routes),
      external_(std::move(external)),
      audio_(std::move(audio)),
      pictures_(pictures),
      log_(std::move(log)) {}

bool MediaRouter::outside_is_off(const std::string& off, const std::string& event) const {
  if (off.empty()) return false;
  log_.write(event + ": " + off);
  return true;
}

void MediaRouter::playmidi(const std::string& file, bool start) {
  if (routes_.external_midi) {
    if (start && outside_is_off(routes_.midi_off, "music " + file + " not played")) return;
    if (external_) external_->playmidi(file, start);
    log_.write(start ? "music " + file + " handed to TINDEL_MIDI_PLAYER"
                     : std::string("music stopped (TINDEL_MIDI_PLAYER)"));
  } else if (audio_) {
    start ? audio_->play_tune(file) : audio_->stop_tune();
  }
}

void MediaRouter::playwave(const std::string& file) {
  if (routes_.external_wave) {
    if (outside_is_off(routes_.wave_off, "sound " + file + " not played")) return;
    if (external_) external_->playwave(file);
    log_.write("sound " + file + " handed to TINDEL_WAVE_PLAYER");
  } else if (audio_) {
    audio_->play_sound(file);
  }
}

void MediaRouter::showimage(const std::string& file) {
  switch (routes_.picture) {
    case PictureRoute::kExternal:
      if (outside_is_off(routes_.image_off, "picture " + file + " not shown")) return;
      if (external_) external_->showimage(file);
      log_.write("picture " + file + " handed to the picture viewer");
      break;
    case PictureRoute::kTerminal:
      log_.write(pictures_ ? pictures_->show_picture(file) : "picture " + file + " not shown");
      break;
    case PictureRoute::kNone:
      log_.write("picture " + file + " not shown: no graphical session and no terminal");
      break;
  }
}

void MediaRouter::stop_all() {
  if (external_) external_->stop_all();
  if (audio_) audio_->stop_all();
}

void MediaRouter::file_missing(const char* what, const std::string& file) {
  log_.write(std::string(what) + " " + file + ": no such file in the current directory");
}

std::unique_ptr<MediaPlayer> make_system_media(PictureSink* pictures, bool accessible) {
  PlayerSearch search = make_system_search();
  MediaLog log = MediaLog::from_environment();
  MediaRoutes routes =
      choose_media_routes(search.getenv, pictures != nullptr,
                          choose_player(MediaKind::kImage, search).has_value(), accessible);
  routes.midi_off = outside_player_off(MediaKind::kMidi, search);
  routes.wave_off = outside_player_off(MediaKind::kWave, search);
  routes.image_off = outside_player_off(MediaKind::kImage, search);
  SoundfontChoice soundfont = find_soundfont(search.getenv, default_soundfonts());
  for (const std::string& note : soundfont.passed_over)
    log.write("soundfont passed over: " + note);
  if (soundfont.file.empty()) {
    log.write("no soundfont found: MIDI will be silent; set TINDEL_SOUNDFONT to a .sf2 file");
  } else {
    log.write("soundfont " + soundfont.file + " (from " + soundfont.source + ")");
  }
  std::unique_ptr<MediaPlayer> external;
  if (routes.external_midi || routes.external_wave || routes.picture == PictureRoute::kExternal)
    external = std::make_unique<SystemMedia>(search);
  auto audio = std::make_unique<SdlAudio>(log, std::move(soundfont));
  return std::make_unique<MediaRouter>(routes, std::move(external), std::move(audio), pictures,
                                       std::move(log));
}

}  // namespace tindel
