#include "author/release/embedded_file.h"

#include <glib.h>
#include <zlib.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace tindel::author {

namespace {

// The bytes in gzip's format, which browsers unpack themselves (DecompressionStream): the
// interpreter's WebAssembly shrinks to less than half, so a quest without tunes stays small.
std::string gzipped(std::string_view bytes) {
  z_stream stream{};
  constexpr int kGzipWindow = 15 + 16;  // the largest window, with gzip's header
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kGzipWindow, 9, Z_DEFAULT_STRATEGY) !=
      Z_OK)
    throw std::runtime_error("zlib cannot start");
  std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (status != Z_STREAM_END) throw std::runtime_error("zlib cannot pack the file");
  return out;
}

std::string base64_of(std::string_view bytes) {
  std::unique_ptr<gchar, decltype(&g_free)> text(
      g_base64_encode(reinterpret_cast<const guchar*>(bytes.data()), bytes.size()), &g_free);
  return text.get();
}

}  // namespace

std::string embedded_script_path(const std::string& name) {
  return "files/" + name + ".js";
}

std::string embedded_script(const std::string& name, std::string_view bytes) {
  // The name as a JavaScript string; a name that is not UTF-8 keeps a replacement character.
  std::string key =
      nlohmann::json(name).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  return "(self.tindelFiles = self.tindelFiles || {})[" + key + "] = \"" +
         base64_of(gzipped(bytes)) + "\";\n";
}

}  // namespace tindel::author
