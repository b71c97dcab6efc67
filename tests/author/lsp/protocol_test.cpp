// The protocol over a quest with known mistakes, exchanged in-process as an editor would.
#include <gtest/gtest.h>

#include <algorithm>

#include "author/lsp/lsp_session.h"

namespace tindel::author::lsp::testing {
namespace {

constexpr const char* kUri = "file:///tmp/tindel-lsp-test/castle.qst";

// Line numbers in the comments count from 0, as the editor does.
const std::string kQuest =
    ":start\r\n"                                    // 0
    "instr name = Мария\r\n"                        // 1
    "gold = 3 & inv +2, key\r\n"                    // 2
    "pln Привет, #%name$! У вас #gold$ монет.\r\n"  // 3
    "btn Go Home, Домой\r\n"                        // 4
    "if gold > 1 then btn cellar, Вниз\r\n"         // 5
    "goto gohome\r\n"                               // 6
    ": Go Home ; дом\r\n"                           // 7
    "pln Дом. #glod$\r\n"                           // 8
    "proc cellar\r\n"                               // 9
    "end\r\n"                                       // 10
    ":cellar\r\n"                                   // 11
    "p Тёмно & btn nowhere, Никуда\r\n"             // 12: a button to a missing label
    "if 1 key then p Ключ\r\n"                      // 13: an item test
    "end\r\n"                                       // 14
    ":common\r\n"                                   // 15
    "end\r\n";                                      // 16

json find_diagnostic(const json& diagnostics, int line) {
  for (const json& d : diagnostics) {
    if (d["range"]["start"]["line"] == line) return d;
  }
  return nullptr;
}

int start_line(const json& location) {
  return location["range"]["start"]["line"].get<int>();
}
int start_character(const json& range) {
  return range["start"]["character"].get<int>();
}

std::vector<int> lines_of(const json& locations) {
  std::vector<int> lines;
  for (const json& location : locations)
    lines.push_back(start_line(location));
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::vector<std::string> labels_of(const json& completion) {
  std::vector<std::string> labels;
  for (const json& item : completion["items"])
    labels.push_back(item["label"]);
  return labels;
}

bool has(const std::vector<std::string>& list, const std::string& word) {
  return std::find(list.begin(), list.end(), word) != list.end();
}

// Applies a rename's edits (from the last one back, so earlier ranges stay right).
std::string applied(std::string text, const json& edits) {
  PositionMap positions(text);
  std::vector<std::pair<std::size_t, std::pair<std::size_t, std::string>>> spans;
  for (const json& edit : edits) {
    std::size_t from =
        positions.offset_of({edit["range"]["start"]["line"], edit["range"]["start"]["character"]});
    std::size_t to =
        positions.offset_of({edit["range"]["end"]["line"], edit["range"]["end"]["character"]});
    spans.push_back({from, {to, edit["newText"]}});
  }
  std::sort(spans.rbegin(), spans.rend());
  for (const auto& [from, rest] : spans)
    text.replace(from, rest.first - from, rest.second);
  return text;
}

class LspProtocol : public ::testing::Test {
 protected:
  void SetUp() override {
    session.start();
    diagnostics = session.open(kUri, kQuest);
  }
  json at(int line, int character) { return LspSession::at(kUri, line, character); }

  LspSession session;
  json diagnostics;
};

TEST_F(LspProtocol, DiagnosticsAreTheLintsProblemsAtTheirUtf16Places) {
  ASSERT_FALSE(diagnostics.is_null());
  EXPECT_EQ(diagnostics["uri"], kUri);
  json missing = find_diagnostic(diagnostics["diagnostics"], 12);
  ASSERT_FALSE(missing.is_null()) << diagnostics.dump(1);
  EXPECT_EQ(missing["severity"], 1);
  EXPECT_NE(missing["message"].get<std::string>().find("nowhere"), std::string::npos);
  EXPECT_EQ(start_character(missing["range"]), 10);  // after "p Тёмно & ", ten characters
  json misspelt = find_diagnostic(diagnostics["diagnostics"], 8);
  ASSERT_FALSE(misspelt.is_null());
  EXPECT_EQ(misspelt["severity"], 2);
  EXPECT_NE(misspelt["message"].get<std::string>().find("gold"), std::string::npos);
  EXPECT_EQ(start_character(misspelt["range"]), 10);
  EXPECT_EQ(misspelt["range"]["end"]["character"], 14);  // the whole name "glod"

  std::string fixed = kQuest;
  fixed.replace(fixed.find("nowhere"), 7, "start");
  fixed.replace(fixed.find("glod"), 4, "gold");
  json after = session.change(kUri, fixed, 2);
  EXPECT_EQ(after["version"], 2);
  EXPECT_TRUE(find_diagnostic(after["diagnostics"], 12).is_null()) << after.dump(1);
  EXPECT_TRUE(find_diagnostic(after["diagnostics"], 8).is_null());
}

TEST_F(LspProtocol, DiagnosticColumnsAfterACharacterBeyondTheBmpAgreeInEveryCodePage) {
  for (const char* page : {"u", "w"}) {
    LspSession other;
    other.start({{"codepage", page}});
    json published = other.open(kUri, "p 😀 & btn nowhere, x\r\nend\r\n:common\r\nend\r\n");
    json missing = find_diagnostic(published["diagnostics"], 0);
    ASSERT_FALSE(missing.is_null()) << page << published.dump(1);
    EXPECT_EQ(start_character(missing["range"]), 7) << page;  // the emoji takes two units
  }
}

TEST_F(LspProtocol, DefinitionGoesToTheLabelLineOrToTheAssignments) {
  json from_goto = session.request("textDocument/definition", at(6, 7));
  ASSERT_EQ(from_goto.size(), 1u) << from_goto.dump();
  EXPECT_EQ(from_goto[0]["uri"], kUri);
  EXPECT_EQ(start_line(from_goto[0]), 7);
  EXPECT_EQ(start_character(from_goto[0]["range"]), 2);  // the name after ": "
  EXPECT_EQ(from_goto[0]["range"]["end"]["character"], 9);
  EXPECT_EQ(lines_of(session.request("textDocument/definition", at(4, 8))), std::vector<int>{7});
  EXPECT_EQ(lines_of(session.request("textDocument/definition", at(9, 6))), std::vector<int>{11});
  EXPECT_EQ(lines_of(session.request("textDocument/definition", at(5, 22))), std::vector<int>{11});
  session.change(kUri, kQuest + ":common_2\r\nend\r\n:next\r\ncommon = 2\r\nend\r\n", 2);
  EXPECT_EQ(lines_of(session.request("textDocument/definition", at(20, 2))), std::vector<int>{17});
  // "#gold$" after Cyrillic text, and the position just after the name still counts.
  EXPECT_EQ(lines_of(session.request("textDocument/definition", at(3, 31))), std::vector<int>{2});
  EXPECT_EQ(lines_of(session.request("textDocument/definition", at(3, 14))), std::vector<int>{1});
  EXPECT_TRUE(session.request("textDocument/definition", at(3, 6)).is_null());  // plain text
  EXPECT_TRUE(session.request("textDocument/definition", at(8, 11)).empty());   // never assigned
}

TEST_F(LspProtocol, ReferencesNameEveryPlaceOfALabelOrAVariable) {
  EXPECT_EQ(lines_of(session.request("textDocument/references", at(6, 6))),
            (std::vector<int>{4, 6, 7}));
  json without = at(7, 4);
  without["context"] = {{"includeDeclaration", false}};
  EXPECT_EQ(lines_of(session.request("textDocument/references", without)),
            (std::vector<int>{4, 6}));
  EXPECT_EQ(lines_of(session.request("textDocument/references", at(2, 1))),
            (std::vector<int>{2, 3, 5}));
  EXPECT_EQ(lines_of(session.request("textDocument/references", at(13, 6))),
            (std::vector<int>{2, 13}));
}

TEST_F(LspProtocol, SymbolsOutlineTheLocationsWithTheirFirstText) {
  json symbols =
      session.request("textDocument/documentSymbol", {{"textDocument", {{"uri", kUri}}}});
  ASSERT_EQ(symbols.size(), 4u) << symbols.dump(1);
  std::vector<std::pair<std::string, int>> outline;
  for (const json& s : symbols)
    outline.push_back({s["name"], s["selectionRange"]["start"]["line"]});
  EXPECT_EQ(outline, (std::vector<std::pair<std::string, int>>{
                         {"start", 0}, {"gohome", 7}, {"cellar", 11}, {"common", 15}}));
  EXPECT_NE(symbols[0]["detail"].get<std::string>().find("Привет, Мария"), std::string::npos);
  EXPECT_EQ(symbols[2]["range"]["start"]["line"], 11);
  EXPECT_EQ(symbols[2]["range"]["end"]["line"], 14);
}

TEST_F(LspProtocol, CompletionOffersWhatTheCursorsPlaceTakes) {
  // The cursor is in the editor's own text, so complete on an edited copy.
  session.change(kUri, kQuest + "goto \r\nif g\r\npl\r\npln #%\r\n; goto \r\ninv +\r\n", 2);
  std::vector<std::string> after_goto =
      labels_of(session.request("textDocument/completion", at(17, 5)));
  EXPECT_TRUE(has(after_goto, "gohome") && has(after_goto, "cellar") && has(after_goto, "start"));
  EXPECT_FALSE(has(after_goto, "gold") || has(after_goto, "pln"));
  std::vector<std::string> condition =
      labels_of(session.request("textDocument/completion", at(18, 4)));
  EXPECT_TRUE(has(condition, "gold") && has(condition, "key") && has(condition, "then"));
  EXPECT_FALSE(has(condition, "cellar") || has(condition, "goto"));
  std::vector<std::string> statement =
      labels_of(session.request("textDocument/completion", at(19, 2)));
  EXPECT_TRUE(has(statement, "pln") && has(statement, "goto") && has(statement, "instr"));
  EXPECT_FALSE(has(statement, "then"));
  std::vector<std::string> text_name =
      labels_of(session.request("textDocument/completion", at(20, 6)));
  EXPECT_EQ(text_name, std::vector<std::string>{"name"});
  EXPECT_TRUE(labels_of(session.request("textDocument/completion", at(21, 7))).empty());
  EXPECT_EQ(labels_of(session.request("textDocument/completion", at(22, 5))),
            std::vector<std::string>{"key"});
  EXPECT_TRUE(labels_of(session.request("textDocument/completion", at(5, 8))).size() > 2);
}

TEST_F(LspProtocol, HoverTellsWhereAVariableIsSetAndWhatALabelLeadsTo) {
  json gold = session.request("textDocument/hover", at(5, 4));
  std::string text = gold["contents"]["value"];
  EXPECT_NE(text.find("variable gold"), std::string::npos);
  EXPECT_NE(text.find("on line 3"), std::string::npos) << text;
  EXPECT_EQ(start_character(gold["range"]), 3);
  std::string label = session.request("textDocument/hover", at(6, 8))["contents"]["value"];
  EXPECT_NE(label.find(":gohome"), std::string::npos);
  EXPECT_NE(label.find("Дом."), std::string::npos) << label;
  EXPECT_NE(label.find("reached from 2 places"), std::string::npos) << label;
  std::string never = session.request("textDocument/hover", at(8, 11))["contents"]["value"];
  EXPECT_NE(never.find("never assigned"), std::string::npos);
  EXPECT_TRUE(session.request("textDocument/hover", at(10, 1)).is_null());
}

TEST_F(LspProtocol, RenameEditsEveryPlaceAndTheQuestStaysWhole) {
  json prepared = session.request("textDocument/prepareRename", at(4, 6));
  EXPECT_EQ(prepared["placeholder"], "gohome");
  EXPECT_EQ(start_character(prepared["range"]), 4);
  EXPECT_EQ(prepared["range"]["end"]["character"], 11);  // "Go Home", blank included
  json edit = session.request("textDocument/rename", {{"textDocument", {{"uri", kUri}}},
                                                      {"position", {{"line", 4}, {"character", 6}}},
                                                      {"newName", "Зал"}});
  json edits = edit["changes"][kUri];
  ASSERT_EQ(edits.size(), 3u) << edit.dump(1);
  std::string renamed = applied(kQuest, edits);
  EXPECT_NE(renamed.find("btn Зал, Домой\r\n"), std::string::npos) << renamed;
  EXPECT_NE(renamed.find("goto Зал\r\n"), std::string::npos);
  EXPECT_NE(renamed.find(": Зал ; дом\r\n"), std::string::npos);
  json republished = session.change(kUri, renamed, 2);
  EXPECT_EQ(lines_of(session.request("textDocument/definition", at(6, 6))), std::vector<int>{7});
  EXPECT_EQ(republished["diagnostics"].size(), diagnostics["diagnostics"].size());

  json text_var =
      session.request("textDocument/rename", {{"textDocument", {{"uri", kUri}}},
                                              {"position", {{"line", 3}, {"character", 15}}},
                                              {"newName", "hero"}});
  std::string again = applied(renamed, text_var["changes"][kUri]);
  EXPECT_NE(again.find("instr hero = Мария"), std::string::npos) << again;
  EXPECT_NE(again.find("#%hero$!"), std::string::npos);
}

TEST_F(LspProtocol, RenameRefusesNamesThatWouldBreakTheQuest) {
  auto rename_to = [&](int line, int character, const std::string& name) {
    return session.call("textDocument/rename",
                        {{"textDocument", {{"uri", kUri}}},
                         {"position", {{"line", line}, {"character", character}}},
                         {"newName", name}});
  };
  EXPECT_TRUE(rename_to(6, 6, "goto").contains("error"));       // a keyword
  EXPECT_TRUE(rename_to(6, 6, "cellar").contains("error"));     // taken
  EXPECT_TRUE(rename_to(6, 6, "two words").contains("error"));  // not one word
  EXPECT_TRUE(rename_to(6, 6, "9lives").contains("error"));
  EXPECT_TRUE(rename_to(6, 6, "caf€").contains("error"));     // code page w has no word €
  EXPECT_TRUE(rename_to(15, 2, "shared").contains("error"));  // the common location
  EXPECT_TRUE(rename_to(10, 1, "x").contains("error"));       // nothing to rename at "end"
  EXPECT_FALSE(rename_to(2, 1, "coins").contains("error"));
}

}  // namespace
}  // namespace tindel::author::lsp::testing
