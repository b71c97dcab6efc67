// The map of a quest: a node per location, an arrow per link in the style of its kind, and
// the marks an author looks for; Graphviz must be able to draw it.
#include "author/map/map.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "support/quest_harness.h"
#include "tests/author/author_test_support.h"

namespace tindel::author::testing {

namespace {

int count_of(const std::string& text, const std::regex& pattern) {
  return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), pattern),
                                        std::sregex_iterator()));
}

// 200 rooms, each with two buttons on, a goto in every tenth and a procedure call in every
// twentieth.
std::vector<std::string> generated_quest(int rooms) {
  std::vector<std::string> q;
  for (int i = 0; i < rooms; ++i) {
    std::string me = "room" + std::to_string(i);
    q.push_back(":" + me);
    q.push_back("pln You are in room number " + std::to_string(i) + ".");
    if (i % 20 == 5) q.push_back("proc helper");
    if (i % 10 == 9) {
      q.push_back("goto room" + std::to_string((i + 1) % rooms));
      continue;
    }
    q.push_back("btn room" + std::to_string((i + 1) % rooms) + ", Onward");
    q.push_back("btn room" + std::to_string((i * 7 + 3) % rooms) + ", Sideways");
    q.push_back("end");
  }
  q.insert(q.end(), {":helper", "pln Help.", "end", ":common", "end"});
  return q;
}

}  // namespace

TEST(QuestMap, ANodePerLocationAndAnArrowPerLinkInItsStyle) {
  std::string dot = quest_map_dot(quest_text(generated_quest(200)), LintOptions{});
  EXPECT_TRUE(dot.starts_with("digraph quest {"));
  EXPECT_EQ(count_of(dot, std::regex(R"(\n  "room\d+" \[label=)")), 200);
  EXPECT_EQ(
      count_of(dot, std::regex(R"re(-> "room\d+" \[style=solid, xlabel="(Onward|Sideways)")re")),
      360);
  EXPECT_EQ(count_of(dot, std::regex(R"(-> "room\d+" \[style=dashed\])")), 20);
  EXPECT_EQ(count_of(dot, std::regex(R"(-> "helper" \[style=dotted\])")), 10);
  EXPECT_NE(dot.find(R"("room3" [label="room3\nYou are in room number 3.")"), std::string::npos);
}

TEST(QuestMap, TheStartCommonDeadEndsUnreachedAndMissingAreMarked) {
  std::vector<std::string> q = {":start",
                                "inv + lamp",
                                "btn hall, In",
                                "btn nowhere, Lost",
                                "end",
                                ":hall",
                                "pln A \"quoted\" hall",
                                "end",
                                ":attic",
                                "end",
                                ":common",
                                "end",
                                ":use_lamp_light",
                                "end"};
  std::string dot = quest_map_dot(quest_text(q), LintOptions{});
  EXPECT_NE(dot.find(R"("start" [label="start [start]", peripheries=2)"), std::string::npos) << dot;
  EXPECT_NE(dot.find(R"("hall" [label="hall [dead end]\nA \"quoted\" hall", shape=octagon)"),
            std::string::npos)
      << dot;
  EXPECT_NE(dot.find(R"("attic" [label="attic [dead end, unreachable]")"), std::string::npos)
      << dot;
  EXPECT_NE(dot.find(R"("common" [label="common [common location, dead end]")"), std::string::npos)
      << dot;
  EXPECT_NE(dot.find(R"("nowhere" [label="nowhere [missing label]")"), std::string::npos) << dot;
  EXPECT_NE(dot.find(R"("start" -> "use_lamp_light" [style=bold)"), std::string::npos) << dot;
}

TEST(QuestMap, GraphvizDrawsTheMapOfTwoHundredLocations) {
  if (std::system("command -v dot >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "Graphviz is not installed";
  tindel::testing::TempDir dir;
  std::string dot = quest_map_dot(quest_text(generated_quest(200)), LintOptions{});
  std::string reason;
  ASSERT_TRUE(render_dot(dot, "svg", dir.path() + "/map.svg", reason)) << reason;
  std::string svg = dir.read("map.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_EQ(count_of(svg, std::regex("<g id=\"node\\d+\" class=\"node\">")), 202);
  EXPECT_FALSE(render_dot("digraph {", "svg", dir.path() + "/bad.svg", reason));
  EXPECT_EQ(reason, "Graphviz's dot failed");
}

}  // namespace tindel::author::testing
