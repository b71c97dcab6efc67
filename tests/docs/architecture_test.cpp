// docs/architecture.md says which room may include which; this keeps the page and the code in
// step: every include of a project file that crosses a line the page does not draw fails, and
// so does a source file in a folder the page does not name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kRoot = TINDEL_SOURCE_DIR;

struct HouseMap {
  std::map<std::string, std::set<std::string>> may_use;        // room -> rooms and headers
  std::map<std::string, std::set<std::string>> upward_arrows;  // file -> headers
};

std::string read_text(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> backticked(const std::string& text) {
  std::vector<std::string> found;
  static const std::regex kQuoted("`([^`]+)`");
  for (std::sregex_iterator it(text.begin(), text.end(), kQuoted), end; it != end; ++it)
    found.push_back((*it)[1]);
  return found;
}

std::vector<std::string> cells(const std::string& row) {
  std::vector<std::string> out;
  std::stringstream in(row);
  std::string cell;
  while (std::getline(in, cell, '|'))
    out.push_back(cell);
  return out;  // out[0] is what stands before the first '|'
}

// "every `UTypes/` room" in a row stands for each room of the interpreter.
void expand_every_room(HouseMap& map, const std::map<std::string, std::string>& cells_of_use) {
  std::set<std::string> interpreter_rooms;
  for (const auto& [room, unused] : map.may_use)
    if (room.starts_with("UTypes/")) interpreter_rooms.insert(room);
  for (const auto& [room, cell] : cells_of_use) {
    if (cell.find("every `UTypes/` room") == std::string::npos) continue;
    map.may_use[room].erase("UTypes/");
    map.may_use[room].insert(interpreter_rooms.begin(), interpreter_rooms.end());
  }
}

HouseMap read_house_map() {
  HouseMap map;
  std::map<std::string, std::string> cells_of_use;
  std::istringstream page(read_text(kRoot / "docs/architecture.md"));
  bool in_arrows = false;
  for (std::string line; std::getline(page, line);) {
    if (line.starts_with("## ")) in_arrows = line.find("upwards") != std::string::npos;
    if (line.starts_with("| `")) {
      std::vector<std::string> row = cells(line);
      if (row.size() < 4) continue;
      std::string room = backticked(row[1]).at(0);
      for (const std::string& used : backticked(row[3]))
        map.may_use[room].insert(used);
      map.may_use[room];  // a room that may use nothing is still a room
      cells_of_use[room] = row[3];
    } else if (in_arrows && line.starts_with("- `")) {
      std::vector<std::string> names = backticked(line.substr(0, line.find(':', 3)));
      for (std::size_t i = 1; i < names.size(); ++i)
        map.upward_arrows[names[0]].insert(names[i]);
    }
  }
  expand_every_room(map, cells_of_use);
  return map;
}

// The room a file lies in: the longest room that is a prefix of its path (a room's own
// subfolders, as the terminal's pictures, belong to it).
std::string room_of(const HouseMap& map, const std::string& file) {
  std::string best;
  for (const auto& [room, unused] : map.may_use)
    if (file.starts_with(room) && room.size() > best.size()) best = room;
  return best;
}

std::vector<std::string> project_includes(const fs::path& file) {
  std::vector<std::string> found;
  std::istringstream text(read_text(file));
  static const std::regex kInclude(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::smatch m;
  for (std::string line; std::getline(text, line);)
    if (std::regex_search(line, m, kInclude) && fs::exists(kRoot / m[1].str()))
      found.push_back(m[1]);
  return found;
}

std::vector<std::string> source_files() {
  std::vector<std::string> files;
  for (const char* top : {"UTypes", "program", "author", "fuzz", "bench", "web"}) {
    if (!fs::exists(kRoot / top)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / top)) {
      const fs::path& p = entry.path();
      if (p.extension() == ".cpp" || p.extension() == ".h")
        files.push_back(fs::relative(p, kRoot).generic_string());
    }
  }
  return files;
}

bool allowed(const HouseMap& map, const std::string& file, const std::string& room,
             const std::string& header) {
  const std::set<std::string>& uses = map.may_use.at(room);
  if (room_of(map, header) == room || uses.count(room_of(map, header)) || uses.count(header))
    return true;
  auto arrows = map.upward_arrows.find(file);
  return arrows != map.upward_arrows.end() && arrows->second.count(header);
}

TEST(Architecture, EveryIncludeKeepsToTheRoomsOfTheMap) {
  HouseMap map = read_house_map();
  ASSERT_GT(map.may_use.size(), 15u) << "the table of rooms was not found";
  ASSERT_TRUE(map.may_use.at("UTypes/charset/").empty());
  ASSERT_EQ(map.upward_arrows.size(), 2u) << "the arrows that run upwards were not found";

  std::vector<std::string> files = source_files();
  ASSERT_GT(files.size(), 100u);
  for (const std::string& file : files) {
    std::string room = room_of(map, file);
    if (room.empty()) {
      ADD_FAILURE() << file << " lies in a folder that docs/architecture.md does not name";
      continue;
    }
    for (const std::string& header : project_includes(kRoot / file))
      EXPECT_TRUE(allowed(map, file, room, header))
          << file << " includes " << header << ", which docs/architecture.md does not allow "
          << room;
  }
}

// A new front end, media player, authors' command or interpreter room is a folder of its own;
// it must have its row in the map.
TEST(Architecture, EveryFolderOfTheHouseHasItsRow) {
  HouseMap map = read_house_map();
  for (const char* parent : {"UTypes", "UTypes/console", "UTypes/media", "author"})
    for (const auto& entry : fs::directory_iterator(kRoot / parent)) {
      if (!entry.is_directory()) continue;
      EXPECT_TRUE(map.may_use.count(fs::relative(entry.path(), kRoot).generic_string() + "/"))
          << entry.path() << " has no row in docs/architecture.md";
    }
}

// The rules the page exists for: the state record at the floor uses no room above it, and the
// interpreter proper reaches a front end only through the console's interface.
TEST(Architecture, TheFloorAndTheInterpreterStayClearOfWhatIsAbove) {
  HouseMap map = read_house_map();
  for (const std::string& used : map.may_use.at("UTypes/state/"))
    for (const char* above : {"UTypes/console/", "UTypes/media/", "UTypes/statements/"})
      EXPECT_FALSE(used.starts_with(above)) << "the state record may not use " << used;
  for (const auto& [room, uses] : map.may_use) {
    if (!room.starts_with("UTypes/") || room.starts_with("UTypes/console/")) continue;
    for (const std::string& used : uses)
      EXPECT_FALSE(used.starts_with("UTypes/console/") && used.size() > 15 &&
                   used.find('/', 15) != std::string::npos)
          << room << " may not use the front end " << used;
  }
}

}  // namespace
