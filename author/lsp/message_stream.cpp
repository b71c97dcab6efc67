#include "author/lsp/message_stream.h"

#include <charconv>
#include <optional>

namespace tindel::author::lsp {

namespace {

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<std::size_t> content_length(std::string_view header) {
  std::size_t colon = header.find(':');
  if (colon == std::string_view::npos || !same_name(header.substr(0, colon), "content-length")) {
    return std::nullopt;
  }
  std::string_view value = header.substr(colon + 1);
  while (!value.empty() && value.front() == ' ')
    value.remove_prefix(1);
  std::size_t length = 0;
  auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
  if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
  return length;
}

}  // namespace

ReadResult read_message(std::istream& in) {
  std::optional<std::size_t> length;
  bool any_header = false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      if (!any_header) continue;  // blank lines between messages are harmless
      break;
    }
    any_header = true;
    if (auto value = content_length(line)) length = value;
  }
  if (!any_header) return {ReadStatus::end_of_input, {}};
  if (!in) return {ReadStatus::end_of_input, {}};
  if (!length || *length > kMaxMessageBytes) return {ReadStatus::bad_header, {}};
  std::string body(*length, '\0');
  in.read(body.data(), static_cast<std::streamsize>(body.size()));
  if (static_cast<std::size_t>(in.gcount()) != body.size()) return {ReadStatus::end_of_input, {}};
  return {ReadStatus::message, std::move(body)};
}

void write_message(std::ostream& out, std::string_view body) {
  out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
  out.flush();
}

}  // namespace tindel::author::lsp
