#include "UTypes/console/terminal/picture/picture_api.h"

#include "UTypes/media/shared_library.h"

namespace tindel {

const JpegApi* jpeg_api(std::string& why) {
  static const LoadedApi<JpegApi> loaded = load_api<JpegApi>(
#ifdef __APPLE__
      {"libturbojpeg.0.dylib", "/opt/homebrew/opt/jpeg-turbo/lib/libturbojpeg.0.dylib",
       "/usr/local/opt/jpeg-turbo/lib/libturbojpeg.0.dylib"},
#else
      {"libturbojpeg.so.0", "libturbojpeg.so"},
#endif
      [](void* library, JpegApi& api, std::string& why) {
        return TINDEL_JPEG_FUNCTIONS(TINDEL_BIND_FUNCTION) true;
      });
  return loaded.get(why);
}

const ChafaApi* chafa_api(std::string& why) {
  // chafa brings GLib with it: its handle finds g_string_free too.
  static const LoadedApi<ChafaApi> loaded = load_api<ChafaApi>(
#ifdef __APPLE__
      {"libchafa.0.dylib", "/opt/homebrew/lib/libchafa.0.dylib", "/usr/local/lib/libchafa.0.dylib"},
#else
      {"libchafa.so.0", "libchafa.so"},
#endif
      [](void* library, ChafaApi& api, std::string& why) {
        return TINDEL_CHAFA_FUNCTIONS(TINDEL_BIND_FUNCTION) true;
      });
  return loaded.get(why);
}

}  // namespace tindel
