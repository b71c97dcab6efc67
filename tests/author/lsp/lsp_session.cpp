#include "author/lsp/lsp_session.h"

#include <gtest/gtest.h>

namespace tindel::author::lsp::testing {

LspSession::LspSession() : server_([this](const json& message) { sent_.push_back(message); }) {}

json LspSession::call(const std::string& method, const json& params) {
  int id = next_id_++;
  server_.handle({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
  for (auto it = sent_.rbegin(); it != sent_.rend(); ++it) {
    if (it->contains("id") && (*it)["id"] == id) return *it;
  }
  ADD_FAILURE() << "no response to " << method;
  return nullptr;
}

json LspSession::request(const std::string& method, const json& params) {
  json response = call(method, params);
  EXPECT_FALSE(response.contains("error")) << method << ": " << response.dump();
  return response.value("result", json());
}

void LspSession::notify(const std::string& method, const json& params) {
  server_.handle({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
}

json LspSession::start(const json& options) {
  json result = request("initialize", {{"processId", nullptr},
                                       {"rootUri", nullptr},
                                       {"capabilities", json::object()},
                                       {"initializationOptions", options}});
  notify("initialized", json::object());
  return result;
}

json LspSession::open(const std::string& uri, const std::string& text, int version) {
  notify("textDocument/didOpen",
         {{"textDocument",
           {{"uri", uri}, {"languageId", "tindel"}, {"version", version}, {"text", text}}}});
  return last_diagnostics(uri);
}

json LspSession::change(const std::string& uri, const std::string& text, int version) {
  notify("textDocument/didChange", {{"textDocument", {{"uri", uri}, {"version", version}}},
                                    {"contentChanges", {{{"text", text}}}}});
  return last_diagnostics(uri);
}

json LspSession::last_diagnostics(const std::string& uri) const {
  for (auto it = sent_.rbegin(); it != sent_.rend(); ++it) {
    if (it->value("method", "") == "textDocument/publishDiagnostics" &&
        (*it)["params"]["uri"] == uri) {
      return (*it)["params"];
    }
  }
  return nullptr;
}

json LspSession::at(const std::string& uri, int line, int character) {
  return {{"textDocument", {{"uri", uri}}},
          {"position", {{"line", line}, {"character", character}}}};
}

}  // namespace tindel::author::lsp::testing
