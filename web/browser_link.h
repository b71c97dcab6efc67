#pragma once
// The page link and the media requests of the interpreter running in a browser: each call
// goes to the page object the JavaScript side gave the module (Module.tindelPage).
#include "UTypes/console/web/page_link.h"
#include "UTypes/media/web/page_media.h"

namespace tindel {

class BrowserLink : public PageLink, public PageMedia::Requests {
 public:
  void show(std::string_view terminal_bytes) override;
  void set_title(std::string_view utf8_title) override;
  void take_typed(std::string& to, int timeout_ms) override;
  void line_wanted(bool wanted) override;
  void pause(int ms) override;
  void announce(std::string_view utf8_text) override;
  void menu_options(const std::vector<std::string>& utf8_captions, int highlighted) override;
  void media_request(std::string_view kind, const std::string& file) override;
};

}  // namespace tindel
