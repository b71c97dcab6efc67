#include "support/flow_quests.h"

namespace tindel::testing {

QuestRun play(const TempDir& dir, const std::string& quest, const Player& player) {
  RunOptions options;
  options.args = player.args;
  options.input = [&player](ScriptedConsole& console) {
    for (std::uint8_t k : player.keys)
      console.add_key(k);
    for (const std::string& line : player.lines)
      console.add_line(line);
  };
  return run_quest(dir, quest, options);
}

bool holds(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

int count_of(const std::string& text, const std::string& part) {
  int n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++n;
  return n;
}

std::vector<std::string> shown_lines(const std::string& screen) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < screen.size()) {
    std::size_t end = screen.find('\n', start);
    if (end == std::string::npos) end = screen.size();
    if (end > start) lines.push_back(screen.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace tindel::testing
