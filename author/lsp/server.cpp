#include "author/lsp/server.h"

#include "author/lsp/features.h"
#include "author/lsp/protocol.h"
#include "author/lsp/rpc_error.h"

namespace tindel::author::lsp {

namespace {

// A code page setting from the client: "w", "d" or "u" (any case), or 0 when absent or odd.
char codepage_setting(const json& settings) {
  if (!settings.is_object()) return 0;
  auto tindel = settings.find("tindel");
  const json& scope = tindel != settings.end() && tindel->is_object() ? *tindel : settings;
  auto value = scope.find("codepage");
  if (value == scope.end() || !value->is_string()) return 0;
  std::string text = value->get<std::string>();
  if (text.size() != 1) return 0;
  char page = static_cast<char>(text[0] | 0x20);
  return page == 'w' || page == 'd' || page == 'u' ? page : 0;
}

json server_capabilities() {
  return {
      {"positionEncoding", "utf-16"},   {"textDocumentSync", {{"openClose", true}, {"change", 1}}},
      {"definitionProvider", true},     {"referencesProvider", true},
      {"documentSymbolProvider", true}, {"completionProvider", {{"triggerCharacters", {"#", "%"}}}},
      {"hoverProvider", true},          {"renameProvider", {{"prepareProvider", true}}},
  };
}

std::string document_uri(const json& params) {
  return string_member(member(params, "textDocument"), "uri");
}

// The text after one change event: the whole text, or a range of the old one replaced.
std::string changed_text(const PositionMap& positions, const json& change) {
  std::string text = string_member(change, "text");
  auto range = change.find("range");
  if (range == change.end() || range->is_null()) return text;
  std::size_t start = positions.offset_of(position_from_json(member(*range, "start")));
  std::size_t end = positions.offset_of(position_from_json(member(*range, "end")));
  std::string whole = positions.text();
  if (end < start) std::swap(start, end);
  return whole.replace(start, end - start, text);
}

}  // namespace

Server::Server(Sink sink) : sink_(std::move(sink)) {
  register_handlers();
}

void Server::register_handlers() {
  auto on_document = [this](json (*feature)(const Document&, const json&)) {
    return [this, feature](const json& params) {
      auto it = documents_.find(document_uri(params));
      if (it == documents_.end()) return json(nullptr);  // not open: nothing to say about it
      return feature(it->second, params);
    };
  };
  requests_["initialize"] = [this](const json& params) { return initialize(params); };
  requests_["shutdown"] = [this](const json&) {
    shutdown_requested_ = true;
    return json(nullptr);
  };
  requests_["textDocument/definition"] = on_document(definition);
  requests_["textDocument/references"] = on_document(references);
  requests_["textDocument/documentSymbol"] =
      on_document([](const Document& d, const json&) { return document_symbols(d); });
  requests_["textDocument/completion"] = on_document(completion);
  requests_["textDocument/hover"] = on_document(hover);
  requests_["textDocument/prepareRename"] = on_document(prepare_rename);
  requests_["textDocument/rename"] = on_document(rename);
  notifications_["initialized"] = [](const json&) {};
  notifications_["exit"] = [this](const json&) { exit_requested_ = true; };
  notifications_["textDocument/didOpen"] = [this](const json& p) { open(p); };
  notifications_["textDocument/didChange"] = [this](const json& p) { change(p); };
  notifications_["textDocument/didClose"] = [this](const json& p) { close(p); };
  notifications_["workspace/didChangeConfiguration"] = [this](const json& p) { configure(p); };
}

void Server::handle_text(std::string_view body) {
  json message = json::parse(body, nullptr, false);
  if (message.is_discarded()) {
    respond_error(nullptr, error_code::parse_error, "the message is not JSON");
    return;
  }
  handle(message);
}

void Server::handle(const json& message) {
  if (!message.is_object() || !message.contains("method")) {
    // A response to a request of ours (we send none) or a malformed message.
    if (message.is_object() && message.contains("id") && !message.contains("result") &&
        !message.contains("error")) {
      respond_error(message["id"], error_code::invalid_request, "no method");
    }
    return;
  }
  if (!message["method"].is_string()) {
    if (message.contains("id"))
      respond_error(message["id"], error_code::invalid_request, "bad method");
    return;
  }
  if (message.contains("id")) {
    handle_request(message);
    return;
  }
  json params = message.value("params", json::object());
  handle_notification(message["method"].get<std::string>(), params);
}

void Server::handle_request(const json& message) {
  const json& id = message["id"];
  std::string method = message["method"].get<std::string>();
  if (!initialized_ && method != "initialize") {
    respond_error(id, error_code::server_not_initialized, "initialize comes first");
    return;
  }
  if (shutdown_requested_) {
    respond_error(id, error_code::invalid_request, "the server is shutting down");
    return;
  }
  auto handler = requests_.find(method);
  if (handler == requests_.end()) {
    respond_error(id, error_code::method_not_found, "unknown method " + method);
    return;
  }
  try {
    respond(id, handler->second(message.value("params", json::object())));
  } catch (const RpcError& error) {
    respond_error(id, error.code, error.what());
  } catch (const std::exception& error) {
    respond_error(id, error_code::internal_error, error.what());
  }
}

void Server::handle_notification(const std::string& method, const json& params) {
  if (!initialized_ && method != "exit") return;  // dropped, as the protocol asks
  auto handler = notifications_.find(method);
  if (handler == notifications_.end()) return;  // "$/..." and the rest need no answer
  try {
    handler->second(params);
  } catch (const std::exception&) {
    // A notification has nobody to answer; a malformed one changes nothing.
  }
}

void Server::respond(const json& id, json result) {
  sink_({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void Server::respond_error(const json& id, int code, const std::string& message) {
  sink_({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

json Server::initialize(const json& params) {
  if (initialized_) throw RpcError(error_code::invalid_request, "initialize came twice");
  initialized_ = true;
  if (char page = codepage_setting(params.value("initializationOptions", json::object()))) {
    codepage_setting_ = page;
  }
  return {{"capabilities", server_capabilities()}, {"serverInfo", {{"name", "tindel-author"}}}};
}

void Server::open(const json& params) {
  const json& item = member(params, "textDocument");
  Document& document = documents_[string_member(item, "uri")];
  document.uri = string_member(item, "uri");
  document.version = item.value("version", 0);
  refresh(document, string_member(item, "text"));
}

void Server::change(const json& params) {
  auto it = documents_.find(document_uri(params));
  if (it == documents_.end()) return;
  Document& document = it->second;
  std::string text = document.positions.text();
  for (const json& event : member(params, "contentChanges")) {
    text = changed_text(PositionMap(std::move(text)), event);
  }
  document.version = member(params, "textDocument").value("version", document.version);
  refresh(document, std::move(text));
}

void Server::close(const json& params) {
  auto it = documents_.find(document_uri(params));
  if (it == documents_.end()) return;
  sink_({{"jsonrpc", "2.0"},
         {"method", "textDocument/publishDiagnostics"},
         {"params", {{"uri", it->first}, {"diagnostics", json::array()}}}});
  documents_.erase(it);
}

void Server::configure(const json& params) {
  char page = codepage_setting(params.value("settings", json::object()));
  if (page == 0 || page == codepage_setting_) return;
  codepage_setting_ = page;
  for (auto& [uri, document] : documents_)
    refresh(document, document.positions.text());
}

void Server::refresh(Document& document, std::string text) {
  analyse(document, std::move(text), codepage_setting_);
  publish(document);
}

void Server::publish(const Document& document) {
  sink_({{"jsonrpc", "2.0"},
         {"method", "textDocument/publishDiagnostics"},
         {"params",
          {{"uri", document.uri},
           {"version", document.version},
           {"diagnostics", diagnostics_json(document)}}}});
}

const Document* Server::document(const std::string& uri) const {
  auto it = documents_.find(uri);
  return it == documents_.end() ? nullptr : &it->second;
}

}  // namespace tindel::author::lsp
