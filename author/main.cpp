// tindel-author: tools for quest authors, on the interpreter's own library.
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "author/commands.h"
#include "author/lsp/lsp_command.h"

namespace {

constexpr const char* kUsage =
    "usage: tindel-author lint [--codepage w|d|u] [--format text|json] FILE...\n"
    "       tindel-author map [--codepage w|d|u] [-o FILE.svg|FILE.png|FILE.dot] FILE\n"
    "       tindel-author walk FILE.walk\n"
    "       tindel-author qs1 FILE [-o OUT]   (the encoded twin of a quest, or the plain one)\n"
    "       tindel-author lsp   (a language server for editors, on stdin and stdout)\n"
    "       tindel-author release [-o DIR] [--title TEXT] [--codepage w|d|u] [--zip FILE] QUEST\n"
    "                           (a folder that plays the quest in a browser, even from disk)\n";

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    (args.empty() ? std::cerr : std::cout) << kUsage;
    return args.empty() ? tindel::author::kStatusUsage : 0;
  }
  std::string command = args[0];
  args.erase(args.begin());
  if (command == "lint") return tindel::author::lint_command(args, std::cout, std::cerr);
  if (command == "map") return tindel::author::map_command(args, std::cout, std::cerr);
  if (command == "lsp") return tindel::author::lsp_command(args, std::cin, std::cout, std::cerr);
  if (command == "walk") return tindel::author::walk_command(args, std::cout, std::cerr);
  if (command == "release") return tindel::author::release_command(args, std::cout, std::cerr);
  if (command == "qs1") return tindel::author::qs1_command(args, std::cout, std::cerr);
  std::cerr << "tindel-author: unknown command '" << command << "'\n" << kUsage;
  return tindel::author::kStatusUsage;
}
