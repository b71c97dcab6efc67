#pragma once
// A language server driven in-process as an editor would drive it: requests get their answers
// at once, and every notification the server sends is kept for the test to look at.
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "author/lsp/server.h"

namespace tindel::author::lsp::testing {

using nlohmann::json;

class LspSession {
 public:
  LspSession();

  // The whole response to a request (with "result" or "error").
  json call(const std::string& method, const json& params);
  // The result of a request; the test fails when an error came instead.
  json request(const std::string& method, const json& params);
  void notify(const std::string& method, const json& params);

  // initialize + initialized, with the given initialization options.
  json start(const json& options = json::object());
  // didOpen of a quest; returns the diagnostics published for it.
  json open(const std::string& uri, const std::string& text, int version = 1);
  json change(const std::string& uri, const std::string& text, int version);
  // The params of the last diagnostics published for the URI (null when none came).
  json last_diagnostics(const std::string& uri) const;

  // The params of a position request at a line and UTF-16 column.
  static json at(const std::string& uri, int line, int character);

  Server& server() { return server_; }
  std::vector<json>& sent() { return sent_; }

 private:
  std::vector<json> sent_;
  Server server_;
  int next_id_ = 1;
};

}  // namespace tindel::author::lsp::testing
