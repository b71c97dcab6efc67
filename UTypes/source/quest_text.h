#pragma once
// Brings a quest's bytes, as they lie on disk, to the form the scanner reads: CP866 characters
// with CR LF line ends. Two kinds of files need it: a file written with Unix line ends (LF
// alone), and a file kept in UTF-8 (code page "u").
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tindel {

struct QuestTextForm {
  bool utf8 = false;  // code page "u": the text is UTF-8
  bool qs1 = false;   // the file is stored encoded (".qs1")
};

// The CP866 byte a UTF-8 quest's character reads as: ASCII as itself, the letters and signs
// of CP866 as their bytes, everything else (and the two bytes that act as the line-end and
// end-of-file markers) as '?'.
std::uint8_t quest_char_to_cp866(char32_t code_point);

// UTF-8 to one CP866 byte per character; a BOM at the start is skipped and a malformed
// sequence becomes '?'. With form.qs1 the bytes are decoded first and encoded again after,
// so that the scanner's own ".qs1" decoding still applies.
std::string utf8_quest_to_cp866(std::string_view bytes, bool qs1);
void utf8_quest_to_cp866_in_place(std::string& bytes, bool qs1);

// A file without a single CR reads each LF as the line end CR LF. Done in place when the
// string has room for a CR per LF.
void add_cr_to_lone_line_ends(std::string& bytes);

// The line (from 1) of the first LF without its CR before `end`, 0 when there is none.
std::int32_t first_lone_lf_line(std::string_view bytes, std::size_t end);

// Both steps, in this order, as a quest is loaded.
void normalize_quest_text(std::string& bytes, QuestTextForm form);

}  // namespace tindel
