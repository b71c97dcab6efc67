#pragma once
// The release's index.html: the page build's own, with the release's title and the metadata
// that tells the page it is a release (which quest to play, in which code page), and the page
// as one classic script, since a page opened from a file may not load module scripts.
#include <string>

namespace tindel::author {

struct PageFacts {
  std::string title;       // UTF-8
  std::string quest_name;  // the quest the page plays
  char codepage = 0;       // 'w', 'd', 'u', or 0 for the page to find it
};

// A quest's line of text as a page's title reads: letters spaced out as title screens space
// them ("S T A C K L E   P O I N T") closed up ("STACKLE POINT", which a screen reader says
// as words, not letter by letter); any other text only trimmed. UTF-8.
std::string readable_title(const std::string& text);

// Text for HTML, with &, <, >, " and ' escaped.
std::string html_escaped(const std::string& text);

// The release's page from the page build's index.html; empty when that has no module script
// to replace (a page build the release does not know).
std::string release_page(const std::string& site_html, const PageFacts& facts,
                         const std::string& bundle_name);

}  // namespace tindel::author
