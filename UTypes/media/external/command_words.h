#pragma once
// Splitting a player command taken from the environment into its words.
#include <string>
#include <string_view>
#include <vector>

namespace tindel {

// Words are separated by blanks and tabs. '...' keeps its contents as they are; "..." does
// the same except that \" and \\ stand for " and \; outside quotes a backslash keeps the next
// character. Quoted parts join the letters around them ("a'b c'd" is one word "ab cd"), and
// an unclosed quote runs to the end of the text.
std::vector<std::string> split_command_words(std::string_view text);

}  // namespace tindel
