#include <istream>
#include <ostream>

#include "author/lsp/message_stream.h"
#include "author/lsp/server.h"

namespace tindel::author::lsp {

int run_server(std::istream& in, std::ostream& out, std::ostream& log) {
  Server server([&out](const json& message) {
    // Quest text that is not UTF-8 must never stop a reply: such bytes become U+FFFD.
    write_message(out, message.dump(-1, ' ', false, json::error_handler_t::replace));
  });
  while (!server.exit_requested()) {
    ReadResult read = read_message(in);
    if (read.status == ReadStatus::end_of_input) {
      log << "tindel-author lsp: the client closed the connection without exit\n";
      return 1;
    }
    if (read.status == ReadStatus::bad_header) {
      log << "tindel-author lsp: a message without a valid Content-Length was skipped\n";
      continue;
    }
    server.handle_text(read.body);
  }
  return server.exit_status();
}

}  // namespace tindel::author::lsp
