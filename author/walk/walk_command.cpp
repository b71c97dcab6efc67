#include <ostream>

#include "author/commands.h"
#include "author/walk/walk_runner.h"

namespace tindel::author {

namespace {

// The quest named by a walkthrough lies beside it, unless the name is absolute.
std::string quest_beside(const std::string& walk_path, const std::string& quest) {
  if (quest.starts_with("/")) return quest;
  std::string folder = folder_of(walk_path);
  return folder == "." ? quest : folder + "/" + quest;
}

}  // namespace

int walk_command(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "usage: tindel-author walk FILE.walk\n";
    return kStatusUsage;
  }
  std::string text, why;
  WalkFile walk;
  if (!read_whole_file(args[0], text)) {
    err << "tindel-author: " << args[0] << ": cannot be read\n";
    return kStatusUsage;
  }
  if (!parse_walk(text, walk, why)) {
    err << args[0] << ':' << why << '\n';
    return kStatusUsage;
  }
  std::string quest = quest_beside(args[0], walk.quest);
  std::string probe;
  if (!read_whole_file(quest, probe)) {
    err << "tindel-author: " << quest << ": cannot be read\n";
    return kStatusUsage;
  }
  int failed = 0;
  for (const WalkTest& test : walk.tests) {
    TestResult result = run_walk_test(walk, test, quest);
    out << (result.passed ? "PASS " : "FAIL ") << result.name << '\n';
    for (const std::string& failure : result.failures)
      out << "    " << failure << '\n';
    if (!result.passed) ++failed;
  }
  out << walk.tests.size() - static_cast<std::size_t>(failed) << " passed, " << failed
      << " failed\n";
  return failed > 0 ? kStatusFound : kStatusClean;
}

}  // namespace tindel::author
