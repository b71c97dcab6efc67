#pragma once
// The language server: the protocol's life cycle, the open documents and the dispatch of each
// request or notification to its handler. It never touches stdin or stdout itself: messages
// come in through handle() and go out through the sink, so tests drive it in-process.
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "author/lsp/document.h"

namespace tindel::author::lsp {

using nlohmann::json;

class Server {
 public:
  using Sink = std::function<void(const json& message)>;
  explicit Server(Sink sink);

  // One message body as it came off the wire (a parse failure is answered as the protocol says).
  void handle_text(std::string_view body);
  void handle(const json& message);

  bool exit_requested() const { return exit_requested_; }
  // The process status that exit asks for: 0 after shutdown, 1 without it.
  int exit_status() const { return shutdown_requested_ ? 0 : 1; }

  const Document* document(const std::string& uri) const;

 private:
  using Request = std::function<json(const json& params)>;
  using Notification = std::function<void(const json& params)>;

  void register_handlers();
  void handle_request(const json& message);
  void handle_notification(const std::string& method, const json& params);
  void respond(const json& id, json result);
  void respond_error(const json& id, int code, const std::string& message);

  json initialize(const json& params);
  void open(const json& params);
  void change(const json& params);
  void close(const json& params);
  void configure(const json& params);
  void refresh(Document& document, std::string text);
  void publish(const Document& document);

  Sink sink_;
  std::map<std::string, Request, std::less<>> requests_;
  std::map<std::string, Notification, std::less<>> notifications_;
  std::map<std::string, Document, std::less<>> documents_;
  char codepage_setting_ = 'w';
  bool initialized_ = false;
  bool shutdown_requested_ = false;
  bool exit_requested_ = false;
};

// Reads messages from in and writes replies to out until exit or the end of input; returns the
// process status. Problems with the stream itself go to log.
int run_server(std::istream& in, std::ostream& out, std::ostream& log);

}  // namespace tindel::author::lsp
