#include "web/browser_link.h"

#include <emscripten/emscripten.h>

#include <string>

// The page's side of each call. The two that wait are asynchronous: Asyncify unwinds the
// interpreter's stack into the browser and back when the page's promise settles.
EM_JS(void, page_show, (const char* bytes, int length),
      { Module.tindelPage.show(HEAPU8.slice(bytes, bytes + length)); });
EM_JS(void, page_set_title, (const char* title),
      { Module.tindelPage.setTitle(UTF8ToString(title)); });
EM_JS(int, page_typed_length, (), { return Module.tindelPage.typedLength(); });
EM_JS(void, page_take_typed, (char* to, int length),
      { HEAPU8.set(Module.tindelPage.takeTyped(length), to); });
EM_ASYNC_JS(void, page_wait_typed, (int timeout_ms),
            { await Module.tindelPage.waitTyped(timeout_ms); });
EM_JS(void, page_line_wanted, (int wanted), { Module.tindelPage.lineWanted(wanted); });
EM_ASYNC_JS(void, page_pause, (int ms), { await Module.tindelPage.pause(ms); });
EM_JS(void, page_announce, (const char* text, int length),
      { Module.tindelPage.announce(UTF8ToString(text, length)); });
// The captions come one a line.
EM_JS(void, page_menu_options, (const char* captions, int length, int highlighted), {
  const text = UTF8ToString(captions, length);
  Module.tindelPage.menuOptions(text ? text.split('\n') : [], highlighted);
});
EM_JS(void, page_media_request, (const char* kind, int kind_length, const char* file),
      { Module.tindelPage.mediaRequest(UTF8ToString(kind, kind_length), UTF8ToString(file)); });

namespace tindel {

void BrowserLink::show(std::string_view terminal_bytes) {
  page_show(terminal_bytes.data(), static_cast<int>(terminal_bytes.size()));
}

void BrowserLink::set_title(std::string_view utf8_title) {
  page_set_title(std::string(utf8_title).c_str());
}

void BrowserLink::take_typed(std::string& to, int timeout_ms) {
  int length = page_typed_length();
  if (length == 0 && timeout_ms != 0) {
    page_wait_typed(timeout_ms);
    length = page_typed_length();
  }
  if (length == 0) return;
  const std::size_t old_size = to.size();
  to.resize(old_size + static_cast<std::size_t>(length));
  page_take_typed(to.data() + old_size, length);
}

void BrowserLink::line_wanted(bool wanted) {
  page_line_wanted(wanted ? 1 : 0);
}

void BrowserLink::pause(int ms) {
  page_pause(ms);
}

void BrowserLink::announce(std::string_view utf8_text) {
  page_announce(utf8_text.data(), static_cast<int>(utf8_text.size()));
}

void BrowserLink::menu_options(const std::vector<std::string>& utf8_captions, int highlighted) {
  std::string lines;
  for (const std::string& caption : utf8_captions) {
    if (!lines.empty()) lines += '\n';
    lines += caption;
  }
  page_menu_options(lines.data(), static_cast<int>(lines.size()), highlighted);
}

void BrowserLink::media_request(std::string_view kind, const std::string& file) {
  page_media_request(kind.data(), static_cast<int>(kind.size()), file.c_str());
}

}  // namespace tindel
