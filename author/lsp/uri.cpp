#include "author/lsp/uri.h"

namespace tindel::author::lsp {

namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string percent_decoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    int high = i + 2 < text.size() && text[i] == '%' ? hex_value(text[i + 1]) : -1;
    int low = high >= 0 ? hex_value(text[i + 2]) : -1;
    if (low < 0) {
      out += text[i];
      continue;
    }
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

}  // namespace

std::string path_from_uri(std::string_view uri) {
  constexpr std::string_view scheme = "file://";
  if (uri.substr(0, scheme.size()) != scheme) return {};
  std::string_view rest = uri.substr(scheme.size());
  std::size_t slash = rest.find('/');  // skip an authority such as "localhost"
  if (slash == std::string_view::npos) return {};
  return percent_decoded(rest.substr(slash));
}

std::string folder_of_uri(std::string_view uri) {
  std::string path = path_from_uri(uri);
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace tindel::author::lsp
