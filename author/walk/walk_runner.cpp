#include "author/walk/walk_runner.h"

#include <memory>
#include <regex>

#include "UTypes/charset/codepage.h"
#include "UTypes/charset/cp866.h"
#include "UTypes/diagnostics/report.h"
#include "UTypes/eval/operand.h"
#include "UTypes/eval/var_table.h"
#include "UTypes/media/media_player.h"
#include "UTypes/moments/play_control.h"
#include "UTypes/state/program_end.h"
#include "author/walk/walk_console.h"
#include "program/startup.h"

namespace tindel::author {

namespace {

constexpr std::size_t kLinesShown = 20;

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    std::string line =
        text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
      line.pop_back();
    lines.push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

std::string trimmed(const std::string& s) {
  std::size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// A state name as the variable table keeps it: CP866, lower-cased.
std::string table_name(const std::string& utf8) {
  std::string name = utf8_to_cp866(utf8);
  for (char& c : name)
    c = static_cast<char>(lowcase(static_cast<std::uint8_t>(c)));
  return name;
}

// The value a state check reads, as text to compare and to show.
std::string state_value(InterpreterState& s, const std::string& name) {
  if (!name.empty() && name[0] == '%')
    return cp866_to_display(string_variable_text(s, table_name(name.substr(1))), true);
  std::string key =
      !name.empty() && name[0] == ';' ? ";" + table_name(name.substr(1)) : "$" + table_name(name);
  double v = s.var_values[static_cast<std::size_t>(getvar(s, key))];
  std::string text = std::to_string(v);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

bool state_matches(InterpreterState& s, const WalkCheck& check, std::string& got) {
  got = state_value(s, check.text);
  if (!check.text.empty() && check.text[0] == '%') return got == check.value;
  double expected = 0, actual = 0;
  return parse_decimal(check.value, expected) && parse_decimal(got, actual) && expected == actual;
}

bool any_line(const std::vector<std::string>& lines,
              const std::function<bool(const std::string&)>& test) {
  for (const std::string& line : lines)
    if (test(line)) return true;
  return false;
}

std::string shown(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size() && i < kLinesShown; ++i)
    text += "\n      | " + lines[i];
  if (lines.size() > kLinesShown) text += "\n      | …";
  return lines.empty() ? " nothing" : text;
}

// Why a check fails, or empty when it holds.
std::string check_failure(InterpreterState& s, const WalkCheck& check,
                          const std::vector<std::string>& lines) {
  std::string got;
  switch (check.kind) {
    case WalkCheck::Kind::line:
      if (any_line(lines, [&](const std::string& l) { return trimmed(l) == trimmed(check.text); }))
        return {};
      return "expected the line \"" + check.text + "\"; the step printed:" + shown(lines);
    case WalkCheck::Kind::absent:
      if (!any_line(lines,
                    [&](const std::string& l) { return l.find(check.text) != std::string::npos; }))
        return {};
      return "expected no line with \"" + check.text + "\"; the step printed:" + shown(lines);
    case WalkCheck::Kind::pattern:
      try {
        std::regex pattern(check.text);
        if (any_line(lines, [&](const std::string& l) { return std::regex_search(l, pattern); }))
          return {};
      } catch (const std::regex_error&) {
        return "the pattern /" + check.text + "/ is not a regular expression";
      }
      return "expected a line matching /" + check.text + "/; the step printed:" + shown(lines);
    case WalkCheck::Kind::state:
      if (state_matches(s, check, got)) return {};
      return "expected {" + check.text + " = " + check.value + "}, found " + got;
  }
  return {};
}

std::string step_name(const WalkStep& step) {
  if (step.action.empty()) return "the start";
  return "> " + step.action + (step.argument.empty() ? "" : " " + step.argument);
}

void check_step(InterpreterState& s, const WalkStep& step, const std::string& output,
                TestResult& result) {
  std::vector<std::string> lines = lines_of(output);
  for (const WalkCheck& check : step.checks) {
    std::string why = check_failure(s, check, lines);
    if (why.empty()) continue;
    result.passed = false;
    result.failures.push_back("line " + std::to_string(check.line_no) + ", after " +
                              step_name(step) + ": " + why);
  }
}

WalkConsole::NextKeys keys_of(const WalkStep& step) {
  WalkConsole::NextKeys next;
  const std::string& a = step.action;
  if (a == "down") next.keys = std::string(1, static_cast<char>(key::kDown));
  if (a == "up") next.keys = std::string(1, static_cast<char>(key::kUp));
  if (a == "enter") next.keys = std::string(1, static_cast<char>(key::kEnter));
  if (a == "esc") next.keys = std::string(1, static_cast<char>(key::kEscape));
  if (a == "back") next.keys = std::string(1, static_cast<char>(key::kBackspace));
  if (a == "restart") next.keys = {static_cast<char>(key::kCtrlR), static_cast<char>(key::kEnter)};
  if (a == "i" || a == "u") next.keys = a;
  if (a == "key") next.keys = utf8_to_cp866(step.argument);
  if (a == "type") next.line = utf8_to_cp866(step.argument);
  return next;
}

// An error of the quest ends the run as the player's program would, but writes no
// "debug.txt" and waits for nobody: its report becomes part of what the step printed.
class ErrorCatcher : public CheckObserver {
 public:
  explicit ErrorCatcher(WalkConsole& console) : console_(console) {}
  void error(InterpreterState& s, std::string_view message) override {
    console_.note(cp866_to_display(error_text(s, message), true) + "\n");
    throw ProgramEnd{exit_status::kScriptError, ""};
  }
  void warning(InterpreterState&, std::string_view) override {}
  void token(InterpreterState&) override {}
  void lookup(InterpreterState&, std::string_view) override {}

 private:
  WalkConsole& console_;
};

}  // namespace

TestResult run_walk_test(const WalkFile& walk, const WalkTest& test,
                         const std::string& quest_path) {
  TestResult result{test.name, true, {}};
  auto state = std::make_unique<InterpreterState>();
  std::size_t step = 0;  // the step whose output is being gathered
  WalkConsole console([&](const std::string& output, WalkConsole::NextKeys& next) {
    check_step(*state, test.steps[step], output, result);
    if (++step >= test.steps.size()) return false;
    next = keys_of(test.steps[step]);
    return true;
  });
  SilentMedia media;
  ErrorCatcher catcher(console);
  state->check_observer = &catcher;
  MomentOptions moments;
  moments.back_keys = true;
  run_program(*state, {"0", std::string(1, walk.codepage), quest_path},
              Platform{console, media, walk.seed, Charset(CharsetKind::kUtf8), false, moments});
  if (step < test.steps.size()) {
    check_step(*state, test.steps[step], console.take_output(true), result);
    if (++step < test.steps.size()) {
      result.passed = false;
      result.failures.push_back("line " + std::to_string(test.steps[step].line_no) +
                                ": the quest ended before " + step_name(test.steps[step]));
    }
  }
  return result;
}

}  // namespace tindel::author
