#pragma once
// Libraries that know no better (ALSA, FluidSynth) write their complaints to the standard error,
// which is the player's screen. While one of these objects lives, what they write there goes to
// a temporary file instead; its lines are handed to the media log at the end.
#include <cstdio>

#include "UTypes/media/media_log.h"

namespace tindel {

class StderrCapture {
 public:
  explicit StderrCapture(const MediaLog& log);
  ~StderrCapture();
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

 private:
  const MediaLog& log_;
  std::FILE* sink_ = nullptr;
  int saved_fd_ = -1;
};

}  // namespace tindel
