// How long the language server takes from a changed text to its published diagnostics, over a
// generated quest of 1 MB, as an editor sends it (UTF-8 JSON, whole text on every change).
#include <benchmark/benchmark.h>

#include <string>

#include "UTypes/charset/codepage.h"
#include "UTypes/charset/cp866.h"
#include "author/lsp/server.h"
#include "quest_generator.h"

namespace tindel::bench {
namespace {

using nlohmann::json;

constexpr std::size_t kQuestBytes = 1u << 20;
constexpr const char* kUri = "file:///tmp/bench.qst";

// The generated Windows-1251 quest as an editor shows it: decoded, in UTF-8.
const std::string& editor_text() {
  static const std::string text = [] {
    std::string utf8;
    for (char c : generate_quest(kQuestBytes)) {
      auto byte = static_cast<std::uint8_t>(c);  // ASCII, line ends included, stays as it is
      if (byte < 0x80)
        utf8 += c;
      else
        append_utf8(utf8, cp866_glyph(wintodos(byte)));
    }
    return utf8;
  }();
  return text;
}

std::string change_message(int version) {
  json change = {{"jsonrpc", "2.0"},
                 {"method", "textDocument/didChange"},
                 {"params",
                  {{"textDocument", {{"uri", kUri}, {"version", version}}},
                   {"contentChanges", {{{"text", editor_text()}}}}}}};
  return change.dump();
}

// From the message's bytes to the diagnostics' bytes, as the server's loop does it.
void BM_LspDiagnosticsAfterChange(benchmark::State& state) {
  std::size_t published = 0, diagnostics = 0;
  author::lsp::Server server([&](const json& message) {
    published += message.dump(-1, ' ', false, json::error_handler_t::replace).size();
    if (message.contains("params") && message["params"].contains("diagnostics")) {
      diagnostics = message["params"]["diagnostics"].size();
    }
  });
  server.handle(
      json{{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", json::object()}});
  server.handle(json{
      {"jsonrpc", "2.0"},
      {"method", "textDocument/didOpen"},
      {"params", {{"textDocument", {{"uri", kUri}, {"version", 1}, {"text", editor_text()}}}}}});
  std::string message = change_message(2);
  for (auto _ : state)
    server.handle_text(message);
  state.counters["quest_bytes"] = static_cast<double>(editor_text().size());
  state.counters["diagnostics"] = static_cast<double>(diagnostics);
  benchmark::DoNotOptimize(published);
}
BENCHMARK(BM_LspDiagnosticsAfterChange)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The parts of that time: reading the JSON message, and the lint with the index.
void BM_LspParseChangeMessage(benchmark::State& state) {
  std::string message = change_message(2);
  for (auto _ : state)
    benchmark::DoNotOptimize(json::parse(message));
}
BENCHMARK(BM_LspParseChangeMessage)->Unit(benchmark::kMillisecond);

void BM_LspAnalyseQuest(benchmark::State& state) {
  author::lsp::Document document;
  document.uri = kUri;
  for (auto _ : state)
    author::lsp::analyse(document, editor_text(), 'w');
  state.counters["problems"] = static_cast<double>(document.problems.size());
}
BENCHMARK(BM_LspAnalyseQuest)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tindel::bench
