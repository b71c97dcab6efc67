#include "author/lsp/lsp_command.h"

#include <iostream>

#include "author/lsp/server.h"

namespace tindel::author {

int lsp_command(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err) {
  for (const std::string& arg : args) {
    if (arg != "--stdio") {
      err << "tindel-author lsp: unknown option '" << arg
          << "'; the server speaks on standard input and output\n";
      return 2;
    }
  }
  return lsp::run_server(in, out, err);
}

}  // namespace tindel::author
