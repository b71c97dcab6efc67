#pragma once
// The media player of the page. Music, sounds and pictures do not play in the page yet: each
// request is handed to the page, which notes it, and the quest goes on with its echo lines.
#include <string>
#include <string_view>

#include "UTypes/media/media_player.h"

namespace tindel {

class PageMedia : public MediaPlayer {
 public:
  // What the page is told: the kind ("music", "stop", "sound", "picture", "end") and the file.
  class Requests {
   public:
    virtual ~Requests() = default;
    virtual void media_request(std::string_view kind, const std::string& file) = 0;
  };

  explicit PageMedia(Requests& page) : page_(page) {}

  void playmidi(const std::string& file, bool start) override {
    page_.media_request(start ? "music" : "stop", file);
  }
  void playwave(const std::string& file) override { page_.media_request("sound", file); }
  void showimage(const std::string& file) override { page_.media_request("picture", file); }
  void stop_all() override { page_.media_request("end", {}); }

 private:
  Requests& page_;
};

}  // namespace tindel
