// The protocol's life cycle and document synchronisation, whatever the quest says.
#include <gtest/gtest.h>

#include <sstream>

#include "author/lsp/lsp_session.h"
#include "author/lsp/message_stream.h"

namespace tindel::author::lsp::testing {
namespace {

constexpr const char* kUri = "file:///tmp/lifecycle.qst";

int error_code_of(const json& response) {
  return response["error"]["code"].get<int>();
}

TEST(LspLifecycle, RequestsBeforeInitializeAndAfterShutdownAreRefused) {
  LspSession session;
  EXPECT_EQ(error_code_of(session.call("textDocument/hover", LspSession::at(kUri, 0, 0))), -32002);
  json capabilities = session.start()["capabilities"];
  EXPECT_EQ(capabilities["textDocumentSync"]["change"], 1);
  EXPECT_EQ(capabilities["positionEncoding"], "utf-16");
  for (const char* provider : {"definitionProvider", "referencesProvider", "documentSymbolProvider",
                               "hoverProvider", "completionProvider", "renameProvider"}) {
    EXPECT_TRUE(capabilities.contains(provider)) << provider;
  }
  EXPECT_EQ(error_code_of(session.call("initialize", json::object())), -32600);
  EXPECT_EQ(error_code_of(session.call("workspace/unknownThing", json::object())), -32601);
  EXPECT_TRUE(session.request("shutdown", nullptr).is_null());
  EXPECT_EQ(error_code_of(session.call("textDocument/hover", LspSession::at(kUri, 0, 0))), -32600);
  EXPECT_FALSE(session.server().exit_requested());
  session.notify("exit", nullptr);
  EXPECT_TRUE(session.server().exit_requested());
  EXPECT_EQ(session.server().exit_status(), 0);
}

TEST(LspLifecycle, MalformedMessagesGetTheProtocolsErrorsAndNoCrash) {
  LspSession session;
  session.start();
  session.server().handle_text("{not json");
  EXPECT_EQ(session.sent().back()["error"]["code"], -32700);
  EXPECT_TRUE(session.sent().back()["id"].is_null());
  session.server().handle(json{{"jsonrpc", "2.0"}, {"id", 7}, {"method", 12}});
  EXPECT_EQ(session.sent().back()["error"]["code"], -32600);
  json missing = session.call("textDocument/definition", {{"textDocument", {{"uri", kUri}}}});
  EXPECT_TRUE(missing["result"].is_null());  // a document not open has nothing to show
  session.open(kUri, "end\r\n");
  json bad = session.call("textDocument/definition", {{"textDocument", {{"uri", kUri}}}});
  EXPECT_EQ(error_code_of(bad), -32602);
  std::size_t before = session.sent().size();
  session.notify("textDocument/didChange", {{"textDocument", {{"uri", kUri}}}});  // no changes
  EXPECT_EQ(session.sent().size(), before);
}

TEST(LspLifecycle, ExitWithoutShutdownAsksForStatusOne) {
  LspSession session;
  session.start();
  session.notify("exit", nullptr);
  EXPECT_TRUE(session.server().exit_requested());
  EXPECT_EQ(session.server().exit_status(), 1);
}

TEST(LspDocuments, FullAndRangedChangesAndCloseKeepTheTextTheEditorHas) {
  LspSession session;
  session.start();
  json opened = session.open(kUri, "pln один\r\nend\r\n", 3);
  ASSERT_FALSE(opened.is_null());
  EXPECT_EQ(opened["version"], 3);
  session.change(kUri, "pln два\r\nend\r\n", 4);
  EXPECT_EQ(session.server().document(kUri)->positions.text(), "pln два\r\nend\r\n");
  json ranged = {
      {"range",
       {{"start", {{"line", 0}, {"character", 4}}}, {"end", {{"line", 0}, {"character", 7}}}}},
      {"text", "три 😀"}};
  session.notify("textDocument/didChange",
                 {{"textDocument", {{"uri", kUri}, {"version", 5}}}, {"contentChanges", {ranged}}});
  EXPECT_EQ(session.server().document(kUri)->positions.text(), "pln три 😀\r\nend\r\n");
  EXPECT_EQ(session.last_diagnostics(kUri)["version"], 5);
  session.notify("textDocument/didClose", {{"textDocument", {{"uri", kUri}}}});
  EXPECT_EQ(session.server().document(kUri), nullptr);
  EXPECT_TRUE(session.last_diagnostics(kUri)["diagnostics"].empty());
}

TEST(LspDocuments, CodePageComesFromTheFirstLineElseTheSettingElseW) {
  LspSession session;
  session.start({{"codepage", "D"}});
  session.open("file:///tmp/a.qst", "end\r\n");
  session.open("file:///tmp/b.qst", "; codepage: u\r\nend\r\n");
  EXPECT_EQ(session.server().document("file:///tmp/a.qst")->codepage, 'd');
  EXPECT_EQ(session.server().document("file:///tmp/b.qst")->codepage, 'u');
  session.notify("workspace/didChangeConfiguration",
                 {{"settings", {{"tindel", {{"codepage", "w"}}}}}});
  EXPECT_EQ(session.server().document("file:///tmp/a.qst")->codepage, 'w');
  EXPECT_EQ(session.server().document("file:///tmp/b.qst")->codepage, 'u');
  LspSession plain;
  plain.start();
  plain.open(kUri, "end\r\n");
  EXPECT_EQ(plain.server().document(kUri)->codepage, 'w');
}

TEST(LspRunServer, AnswersFramedMessagesAndEndsWithTheExitStatus) {
  auto frame = [](const json& message) {
    std::ostringstream out;
    write_message(out, message.dump());
    return out.str();
  };
  std::istringstream in(
      frame({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", json::object()}}) +
      frame({{"jsonrpc", "2.0"}, {"id", 2}, {"method", "shutdown"}}) +
      frame({{"jsonrpc", "2.0"}, {"method", "exit"}}) + "trailing bytes never read");
  std::ostringstream out, log;
  EXPECT_EQ(run_server(in, out, log), 0);
  std::istringstream replies(out.str());
  EXPECT_EQ(json::parse(read_message(replies).body)["id"], 1);
  EXPECT_EQ(json::parse(read_message(replies).body)["id"], 2);
  std::istringstream cut(frame({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}}));
  EXPECT_EQ(run_server(cut, out, log), 1);
  EXPECT_NE(log.str().find("without exit"), std::string::npos);
}

}  // namespace
}  // namespace tindel::author::lsp::testing
