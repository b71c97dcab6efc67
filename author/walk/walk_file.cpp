#include "author/walk/walk_file.h"

#include <charconv>

namespace tindel::author {

namespace {

std::string_view trimmed(std::string_view s) {
  std::size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string_view::npos) return {};
  return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// "{name = value}"
bool parse_state_check(std::string_view body, WalkCheck& check) {
  std::size_t eq = body.find('=');
  if (eq == std::string_view::npos) return false;
  check.kind = WalkCheck::Kind::state;
  check.text = std::string(trimmed(body.substr(0, eq)));
  check.value = std::string(trimmed(body.substr(eq + 1)));
  return !check.text.empty();
}

bool parse_check(std::string_view line, WalkCheck& check) {
  if (line.size() >= 2 && line.front() == '{' && line.back() == '}')
    return parse_state_check(line.substr(1, line.size() - 2), check);
  if (line.size() >= 2 && line.front() == '/' && line.back() == '/') {
    check.kind = WalkCheck::Kind::pattern;
    check.text = std::string(line.substr(1, line.size() - 2));
  } else if (line.front() == '!') {
    check.kind = WalkCheck::Kind::absent;
    check.text = std::string(trimmed(line.substr(1)));
  } else {
    check.kind = WalkCheck::Kind::line;
    check.text = std::string(line.front() == '\\' ? line.substr(1) : line);
  }
  return true;
}

bool parse_step(std::string_view body, WalkStep& step) {
  body = trimmed(body);
  std::size_t blank = body.find(' ');
  step.action = std::string(body.substr(0, blank));
  if (blank != std::string_view::npos) step.argument = std::string(trimmed(body.substr(blank + 1)));
  if (!known_action(step.action)) return false;
  bool wants_text = step.action == "type" || step.action == "key";
  return wants_text ? !step.argument.empty() || step.action == "type" : step.argument.empty();
}

struct Header {
  std::string_view name, value;
};

bool split_header(std::string_view line, Header& header) {
  std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  header = {trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 1))};
  return header.name == "quest" || header.name == "codepage" || header.name == "seed" ||
         header.name == "test";
}

bool apply_header(const Header& h, WalkFile& walk, int line_no, std::string& why) {
  if (h.name == "test") {
    walk.tests.push_back(WalkTest{std::string(h.value), {WalkStep{}}, line_no});
    walk.tests.back().steps.front().line_no = line_no;
    if (h.value.empty()) why = "a test needs a name";
  } else if (!walk.tests.empty()) {
    why = std::string(h.name) + " belongs before the first test";
  } else if (h.name == "quest") {
    walk.quest = std::string(h.value);
  } else if (h.name == "codepage") {
    if (h.value != "w" && h.value != "d" && h.value != "u") why = "the code page is w, d or u";
    walk.codepage = h.value.empty() ? 'w' : h.value[0];
  } else {
    auto [end, ec] = std::from_chars(h.value.data(), h.value.data() + h.value.size(), walk.seed);
    if (ec != std::errc() || end != h.value.data() + h.value.size()) why = "the seed is a number";
  }
  return why.empty();
}

bool parse_line(std::string_view line, int line_no, WalkFile& walk, std::string& why) {
  Header header;
  if (line.front() != '>' && line.front() != '{' && line.front() != '/' && line.front() != '!' &&
      split_header(line, header))
    return apply_header(header, walk, line_no, why);
  if (walk.tests.empty()) {
    why = "a step or check stands before the first \"test:\"";
    return false;
  }
  std::vector<WalkStep>& steps = walk.tests.back().steps;
  if (line.front() == '>') {
    steps.push_back(WalkStep{});
    steps.back().line_no = line_no;
    if (!parse_step(line.substr(1), steps.back()))
      why = "unknown step (down, up, enter, i, u, esc, back, restart, type TEXT, key K)";
    return why.empty();
  }
  WalkCheck check;
  check.line_no = line_no;
  if (!parse_check(line, check)) {
    why = "a state check is {name = value}";
    return false;
  }
  steps.back().checks.push_back(check);
  return true;
}

}  // namespace

bool known_action(std::string_view a) {
  return a == "down" || a == "up" || a == "enter" || a == "i" || a == "u" || a == "esc" ||
         a == "back" || a == "restart" || a == "type" || a == "key";
}

bool parse_walk(std::string_view text, WalkFile& walk, std::string& error) {
  int line_no = 0;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++line_no;
    std::string_view line = trimmed(raw);
    if (line.empty() || line.front() == '#') continue;
    std::string why;
    if (!parse_line(line, line_no, walk, why)) {
      error = std::to_string(line_no) + ": " + why;
      return false;
    }
  }
  if (walk.quest.empty())
    error = "the walkthrough names no quest (\"quest: FILE\")";
  else if (walk.tests.empty())
    error = "the walkthrough has no test (\"test: NAME\")";
  return error.empty();
}

}  // namespace tindel::author
