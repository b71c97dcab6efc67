#include "tests/author/author_test_support.h"

namespace tindel::author::testing {

std::string quest_text(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    text += line + "\r\n";
  return text;
}

Spot spot_of(const std::vector<std::string>& lines, const std::string& piece) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::size_t at = lines[i].find(piece);
    if (at != std::string::npos) return Spot{static_cast<int>(i + 1), static_cast<int>(at + 1)};
  }
  return Spot{};
}

std::vector<Problem> problems_at(const std::vector<Problem>& all, int line) {
  std::vector<Problem> found;
  for (const Problem& p : all)
    if (p.line == line) found.push_back(p);
  return found;
}

std::string describe(const std::vector<Problem>& problems) {
  std::string text;
  for (const Problem& p : problems)
    text += std::to_string(p.line) + ":" + std::to_string(p.column) + ": " +
            (p.severity == Severity::error ? "error: " : "warning: ") + p.message + "\n";
  return text;
}

bool has_problem(const std::vector<Problem>& all, Severity severity, Spot at,
                 const std::string& message_start) {
  for (const Problem& p : all)
    if (p.severity == severity && p.line == at.line && p.column == at.column &&
        p.message.starts_with(message_start))
      return true;
  return false;
}

}  // namespace tindel::author::testing
