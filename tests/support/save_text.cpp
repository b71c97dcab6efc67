#include "support/save_text.h"

#include <fstream>
#include <iterator>

namespace tindel::testing {

SaveText::SaveText() {
  slots.fill("0.000 ");
  slots[750] = "-1.000 %sys";
  slots[749] = "1.000 ";
  slots[748] = "7.000 $styletextcolor";
  slots[747] = "7.000 $stylebuttoncolor";
  slots[746] = "126.000 $stylecursorcolor";
  slots[745] = "0.000 $image";
  slots[744] = "0.000 $common";
  slots[743] = "-1.000 %current_loc";
  slots[742] = "1.000 ";
}

std::vector<std::string> SaveText::lines() const {
  std::vector<std::string> out = {header, quest, common, label,
                                  std::to_string(calls.size()) + " calls:"};
  for (std::int32_t line : calls)
    out.push_back(std::to_string(line));
  out.push_back("750 vars:");
  out.insert(out.end(), slots.begin(), slots.end());
  out.push_back("eof");
  return out;
}

std::string SaveText::text() const {
  return crlf_lines(lines());
}

std::string crlf_lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines)
    out += line + "\r\n";
  return out;
}

std::vector<std::string> split_crlf(const std::string& text) {
  std::vector<std::string> out;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return out;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tindel::testing
