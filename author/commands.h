#pragma once
// The commands of tindel-author. Each takes its arguments (after the command's name), writes
// to the given streams and returns the exit status.
#include <iosfwd>
#include <string>
#include <vector>

namespace tindel::author {

using Arguments = std::vector<std::string>;

int lint_command(const Arguments& args, std::ostream& out, std::ostream& err);
int map_command(const Arguments& args, std::ostream& out, std::ostream& err);
int walk_command(const Arguments& args, std::ostream& out, std::ostream& err);
int qs1_command(const Arguments& args, std::ostream& out, std::ostream& err);
int release_command(const Arguments& args, std::ostream& out, std::ostream& err);

// Exit statuses: 0 clean, 1 a problem found in the quest, 2 a wrong command line or a file
// that cannot be read or written.
constexpr int kStatusClean = 0;
constexpr int kStatusFound = 1;
constexpr int kStatusUsage = 2;

// The whole file, or false when it cannot be read.
bool read_whole_file(const std::string& path, std::string& bytes);
// The folder of a path ("." for a bare name).
std::string folder_of(const std::string& path);
// ".qs1" by the interpreter's rule: the four characters from the first ".".
bool is_qs1_name(const std::string& path);

}  // namespace tindel::author
