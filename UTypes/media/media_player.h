#pragma once
// Music, sounds and pictures, handed to programs outside the interpreter.
#include <string>

namespace tindel {

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;
  // Starts the MIDI file in the background (start) or stops the tune (!start).
  virtual void playmidi(const std::string& file, bool start) = 0;
  // Plays the wave file in the background.
  virtual void playwave(const std::string& file) = 0;
  // Opens the picture in an external viewer without waiting.
  virtual void showimage(const std::string& file) = 0;
  // The program ends: stop whatever still plays.
  virtual void stop_all() = 0;
  // The quest named a file that is not there, so nothing plays; what: "music", "sound" or
  // "picture". Only a player that keeps a log has anything to do.
  virtual void file_missing(const char* /*what*/, const std::string& /*file*/) {}
};

// Plays nothing; for syntax checks in tests and where no player is wanted.
class SilentMedia : public MediaPlayer {
 public:
  void playmidi(const std::string&, bool) override {}
  void playwave(const std::string&) override {}
  void showimage(const std::string&) override {}
  void stop_all() override {}
};

}  // namespace tindel
