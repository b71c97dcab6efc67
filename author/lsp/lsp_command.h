#pragma once
// `tindel-author lsp`: the language server on standard input and output.
#include <iosfwd>
#include <string>
#include <vector>

namespace tindel::author {

// args: what follows "lsp" (only "--stdio", which many clients pass, is accepted). Returns the
// exit status: 0 after shutdown and exit, 1 when the client left without them, 2 for bad args.
int lsp_command(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err);

}  // namespace tindel::author
