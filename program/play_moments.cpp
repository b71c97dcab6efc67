#include "program/play_moments.h"

#include "UTypes/console/console.h"
#include "UTypes/console/console_ops.h"
#include "UTypes/moments/moments_file.h"

namespace tindel {

namespace {

constexpr std::string_view kContinueQuestion =
    "Continue where you left off? Enter - continue, any other key - new game";

bool player_continues(InterpreterState& s) {
  conwrite(s, kContinueQuestion);
  s.con_out->flush();
  std::uint8_t k = key::kNone;
  while (k == key::kNone)
    k = s.con_in->waitkey();
  conwriteln(s, "");
  return k == key::kEnter;
}

}  // namespace

PlayMoments::PlayMoments(InterpreterState& s, const MomentOptions& options)
    : s_(s), options_(options) {
  if (!options.back_keys && !options.keep_file) return;
  history_.set_back_keys(options.back_keys);
  if (options.keep_file) {
    path_ = options.file.empty() ? moments_file_path(s.quest_name) : options.file;
    if (!path_.empty())
      history_.set_listener([this](std::string_view bytes) { keep_in_file(bytes); });
  }
  s.moments = &history_;
}

PlayMoments::~PlayMoments() {
  if (s_.moments == &history_) s_.moments = nullptr;
}

void PlayMoments::keep_in_file(std::string_view moment_bytes) {
  const auto& image = s_.quest_file.image();
  if (!image) return;
  if (identity_.empty() || identity_version_ != image->version) {
    identity_ = quest_identity(image->bytes);
    identity_version_ = image->version;
  }
  write_moments_file(path_, moments_file_bytes(identity_, moment_bytes));
}

std::optional<Moment> PlayMoments::file_moment(InterpreterState& s) {
  if (path_.empty() || !s.quest_file.image()) return std::nullopt;
  auto bytes = read_moments_file(path_);
  if (!bytes) {
    if (options_.continue_game) problem_ = "tindel: no game of this quest to continue";
    return std::nullopt;
  }
  auto found = moment_in_file_bytes(*bytes, quest_identity(s.quest_file.image()->bytes));
  if (!found.moment) problem_ = "tindel: " + path_ + ": " + found.problem + "; a new game begins";
  return std::move(found.moment);
}

// The history is put in place whole, and its newest moment, already in the file, is not
// kept again.
std::optional<Moment> PlayMoments::handed_on_moment() {
  std::optional<Moment> moment;
  if (history_.from_bytes(options_.history)) moment = moment_from_bytes(*history_.newest());
  if (!moment) {
    history_.clear();
    problem_ = "tindel: the moments handed on for Back are damaged; a new game begins";
  }
  return moment;
}

MenuWait PlayMoments::wait_at(InterpreterState& s, const Moment& moment) {
  restore_moment(s, moment);
  if (moment.screen) s.con_out->show_screen_image(*moment.screen);
  return moment.wait;
}

std::optional<MenuWait> PlayMoments::start(InterpreterState& s) {
  if (!options_.history.empty() && s.moments == &history_ && s.quest_file.image()) {
    history_.follow_quest_version(s.quest_file.image()->version);
    auto moment = handed_on_moment();
    if (!moment) return std::nullopt;
    return wait_at(s, *moment);
  }
  if (!options_.continue_game && !options_.offer_continue) return std::nullopt;
  auto moment = file_moment(s);
  if (!moment) return std::nullopt;
  if (!options_.continue_game && !player_continues(s)) return std::nullopt;
  history_.follow_quest_version(s.quest_file.image()->version);
  history_.keep(moment_to_bytes(*moment));
  return wait_at(s, *moment);
}

}  // namespace tindel
