#pragma once
// The editor holds a quest as Unicode text (UTF-8 on the wire); the quest tools read the bytes
// that the quest file would hold in its code page. These turn the one into the other.
#include <string>
#include <string_view>

namespace tindel::author::lsp {

// The Windows-1251 byte of a code point: ASCII as itself, '?' when the code page lacks it.
char unicode_to_cp1251(char32_t code_point);

// The quest's bytes for the editor's text in code page 'w', 'd' or 'u'. Each character becomes
// one byte in w and d (unmappable ones '?'), so columns counted in characters agree; u keeps
// the UTF-8 as it is. Text without a single CR had its line ends normalised by the editor
// (Emacs buffers, for instance), so its LFs become the CR LF that the quest file holds.
std::string quest_bytes_from_editor(std::string_view utf8, char codepage);

// True when the text keeps CR characters, so its line ends stand as they are on disk.
bool keeps_carriage_returns(std::string_view text);

// The code page named by a first-line comment such as "; codepage: d" (also "codepage=u",
// any case), or 0 when the first line names none.
char codepage_from_first_line(std::string_view text);

}  // namespace tindel::author::lsp
