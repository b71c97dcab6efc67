#pragma once
// The media player of the page: each request is handed to the page, which plays it.
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
  // The page's media are the site's files and those opened with the quest, which the module's
  // folder need not hold: the page looks for the file itself (what is "music", "sound" or
  // "picture") and logs it as missing only when it has none.
  void file_missing(const char* what, const std::string& file) override {
    page_.media_request(what, file);
  }

 private:
  Requests& page_;
};

}  // namespace tindel
