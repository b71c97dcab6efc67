// Runs every example of the quest language guide and compares what the player sees with the
// output the guide shows, so that the guide and the program cannot drift apart.
//
// An example is a ```quest block followed by an ```output block. Words after "quest" set up
// the run: keys=enter,down,i (keys pressed in order; enter, esc, up, down or one character),
// lines=42|Ann (lines typed), mode=2 (the run mode), files=2.mid,door.wav (files present),
// resume (the quest is played once, then resumed from save.txt in mode 1; keys2= gives the keys
// of that second run, whose screen is the output), file=log.txt (the output is that file, with
// "\n" line ends, instead of the screen).
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/quest_harness.h"

namespace tindel::testing {

namespace {

struct Example {
  int line = 0;  // where the quest block begins in the guide
  std::map<std::string, std::string> options;
  std::string quest;
  std::string output;
};

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);)
    if (!part.empty()) parts.push_back(part);
  return parts;
}

// "quest keys=enter mode=2 resume" -> {keys: enter, mode: 2, resume: ""}
std::map<std::string, std::string> fence_options(const std::string& info) {
  std::map<std::string, std::string> options;
  for (const std::string& word : split(info, ' ')) {
    auto eq = word.find('=');
    options[word.substr(0, eq)] = eq == std::string::npos ? "" : word.substr(eq + 1);
  }
  return options;
}

// The lines up to the closing fence; `at` is left on the fence.
std::string block_body(const std::vector<std::string>& lines, std::size_t& at) {
  std::string body;
  for (++at; at < lines.size() && lines[at] != "```"; ++at)
    body += lines[at] + "\n";
  return body;
}

std::vector<Example> read_examples(const std::string& guide) {
  std::vector<std::string> lines;
  std::stringstream in(guide);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  std::vector<Example> examples;
  for (std::size_t at = 0; at < lines.size(); ++at) {
    if (!lines[at].starts_with("```quest")) continue;
    Example example;
    example.line = static_cast<int>(at) + 1;
    example.options = fence_options(lines[at].substr(3));
    example.quest = block_body(lines, at);
    std::size_t next = at + 1;
    while (next < lines.size() && lines[next].empty())
      ++next;
    if (next < lines.size() && lines[next] == "```output") {
      at = next;
      example.output = block_body(lines, at);
    } else {
      example.output = "(no output block)";
    }
    examples.push_back(example);
  }
  return examples;
}

std::uint8_t key_code(const std::string& name) {
  static const std::map<std::string, std::uint8_t> named = {
      {"enter", 13}, {"esc", 27}, {"up", 72}, {"down", 80}, {"space", 32}};
  auto it = named.find(name);
  return it != named.end() ? it->second : static_cast<std::uint8_t>(name[0]);
}

RunOptions options_for(const Example& example, const std::string& mode, const char* keys_option) {
  RunOptions run;
  run.args = {mode, "w", "quest.qst"};
  std::string keys = example.options.contains(keys_option) ? example.options.at(keys_option) : "";
  std::string lines = example.options.contains("lines") ? example.options.at("lines") : "";
  run.input = [keys, lines](ScriptedConsole& console) {
    for (const std::string& k : split(keys, ','))
      console.add_key(key_code(k));
    for (const std::string& line : split(lines, '|'))
      console.add_line(line);
  };
  return run;
}

// The screen without trailing blank lines.
std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
    text.pop_back();
  return text;
}

std::string run_example(const Example& example) {
  TempDir dir;
  if (example.options.contains("files"))
    for (const std::string& file : split(example.options.at("files"), ','))
      dir.write(file, "");
  std::string mode = example.options.contains("mode") ? example.options.at("mode") : "0";
  QuestRun run = run_quest(dir, example.quest, options_for(example, mode, "keys"));
  if (example.options.contains("resume"))
    run = run_quest(dir, example.quest, options_for(example, "1", "keys2"));
  if (!example.options.contains("file")) return run.output();
  std::string text = dir.read(example.options.at("file"));
  std::erase(text, '\r');
  return text;
}

std::string read_guide() {
  std::ifstream in(std::string(TINDEL_SOURCE_DIR) + "/docs/language.md", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TEST(LanguageGuide, EveryExampleShowsWhatTheProgramPrints) {
  std::vector<Example> examples = read_examples(read_guide());
  ASSERT_GE(examples.size(), 20u) << "the guide or its examples are missing";
  for (const Example& example : examples) {
    SCOPED_TRACE("example at docs/language.md:" + std::to_string(example.line));
    EXPECT_EQ(trimmed(run_example(example)), trimmed(example.output)) << example.quest;
  }
}

}  // namespace tindel::testing
