#include "author/release/release_page.h"

#include <sstream>
#include <string_view>
#include <vector>

namespace tindel::author {

namespace {

constexpr std::string_view kModuleScript = R"(<script type="module" src="main.js"></script>)";
constexpr std::string_view kTitleLine = "<title>";
constexpr std::string_view kCharsetLine = "<meta charset=";

std::string meta(const char* name, const std::string& content) {
  return R"(<meta name=")" + std::string(name) + R"(" content=")" + html_escaped(content) + R"(">)";
}

std::string indent_of(std::string_view line) {
  return std::string(line.substr(0, line.find_first_not_of(' ')));
}

// The page's preloads name the site's own files, which a release carries otherwise.
bool is_preload(std::string_view line) {
  return line.find("rel=\"modulepreload\"") != std::string_view::npos ||
         line.find("rel=\"preload\"") != std::string_view::npos;
}

bool is_comment_line(std::string_view line) {
  std::size_t start = line.find_first_not_of(' ');
  return start != std::string_view::npos && line.substr(start).starts_with("<!--") &&
         line.ends_with("-->");
}

// Splits text at each run of blanks that is at least `gap` long.
std::vector<std::string> split_at_gaps(std::string_view text, std::size_t gap) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t blank = text.find(std::string(gap, ' '), start);
    if (blank == std::string_view::npos) blank = text.size();
    parts.emplace_back(text.substr(start, blank - start));
    start = text.find_first_not_of(' ', blank);
    if (start == std::string_view::npos) break;
  }
  return parts;
}

bool is_one_character(std::string_view utf8) {
  if (utf8.empty()) return false;
  std::size_t length = 1;
  for (auto lead = static_cast<unsigned char>(utf8[0]); (lead & 0xC0) == 0xC0; lead <<= 1)
    ++length;
  return utf8.size() == length;
}

// "S T A C K": single characters with one blank between each.
bool is_spaced_word(const std::string& word) {
  std::vector<std::string> letters = split_at_gaps(word, 1);
  if (letters.size() < 2) return false;
  for (const std::string& letter : letters)
    if (!is_one_character(letter)) return false;
  return true;
}

}  // namespace

std::string readable_title(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  std::string trimmed = text.substr(first, text.find_last_not_of(' ') - first + 1);
  std::vector<std::string> words = split_at_gaps(trimmed, 2);
  for (const std::string& word : words)
    if (!is_spaced_word(word)) return trimmed;
  std::string title;
  for (const std::string& word : words) {
    if (!title.empty()) title += ' ';
    for (const std::string& letter : split_at_gaps(word, 1))
      title += letter;
  }
  return title;
}

std::string html_escaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Line by line: the preloads (and the comments on them) go, the title is the
// release's, its metadata follows the character set, and the module script becomes the bundle.
std::string release_page(const std::string& site_html, const PageFacts& facts,
                         const std::string& bundle_name) {
  std::istringstream in(site_html);
  std::ostringstream out;
  bool script_replaced = false;
  for (std::string line; std::getline(in, line);) {
    std::string indent = indent_of(line);
    if (is_preload(line) || is_comment_line(line)) continue;
    if (line.find(kModuleScript) != std::string::npos) {
      out << indent << R"(<script src=")" << html_escaped(bundle_name) << R"("></script>)" << '\n';
      script_replaced = true;
    } else if (line.find(kTitleLine) != std::string::npos) {
      out << indent << "<title>" << html_escaped(facts.title) << "</title>\n";
    } else {
      out << line << '\n';
    }
    if (line.find(kCharsetLine) == std::string::npos) continue;
    out << indent << meta("tindel-title", facts.title) << '\n';
    out << indent << meta("tindel-quest", facts.quest_name) << '\n';
    if (facts.codepage != 0)
      out << indent << meta("tindel-codepage", std::string(1, facts.codepage)) << '\n';
  }
  return script_replaced ? out.str() : std::string();
}

}  // namespace tindel::author
