#pragma once
// The code page of a quest that nobody named, as the command line's letter: 'u' (UTF-8),
// 'w' (Windows-1251) or 'd' (CP866).
#include <string_view>

namespace tindel {

// 'u' for a byte-order mark or valid UTF-8 with bytes above ASCII; else 'w' or 'd' by the
// frequencies of Cyrillic letters.
// quest_bytes are the file's bytes (a ".qs1" quest decoded first). Pure ASCII gives 'w'.
char detect_codepage(std::string_view quest_bytes);

}  // namespace tindel
