// The index of labels and variables: where each is defined, named, assigned and read, in the
// columns an editor shows.
#include "author/quest_index.h"

#include <gtest/gtest.h>

#include "tests/author/author_test_support.h"

namespace tindel::author::testing {

namespace {

const std::vector<std::string> kQuest = {"gold = 3",                              // 1
                                         ":hall",                                 // 2
                                         "pln The hall. You have #gold$ coins.",  // 3
                                         "if glod > 1 then goto cellar",          // 4
                                         "btn garden, Walk out",                  // 5
                                         "proc wash",                             // 6
                                         "end",                                   // 7
                                         ":garden & pln Green.",                  // 8
                                         "inv + 2, key",                          // 9
                                         "instr who = Ann",                       // 10
                                         "pln #%who$ is here; key #inv_key$",     // 11
                                         "input age",                             // 12
                                         "common = 2",                            // 13
                                         "end",                                   // 14
                                         ":wash",                                 // 15
                                         "end",                                   // 16
                                         ":use_key_turn",                         // 17
                                         "end"};                                  // 18

bool has_link(const QuestIndex& index, const std::string& label, LinkKind kind, Spot at) {
  for (const Link& link : index.links)
    if (link.label == label && link.kind == kind && link.place.line == at.line &&
        link.place.column == at.column)
      return true;
  return false;
}

bool has_place(const std::vector<Place>& places, Spot at) {
  for (const Place& p : places)
    if (p.line == at.line && p.column == at.column) return true;
  return false;
}

}  // namespace

TEST(QuestIndex, LocationsInFileOrderWithTheirTextAndExtent) {
  QuestIndex index = index_quest(quest_text(kQuest), LintOptions{});
  ASSERT_EQ(index.locations.size(), 4u);
  const Location& hall = index.locations[0];
  EXPECT_EQ(hall.label, "hall");
  EXPECT_EQ(hall.place.line, 2);
  EXPECT_EQ(hall.place.column, 1);
  EXPECT_EQ(hall.place.length, 5);
  EXPECT_EQ(hall.first_text, "The hall. You have 3 coins.");
  EXPECT_EQ(hall.end_line, 7);
  EXPECT_EQ(index.locations[1].label, "garden");
  EXPECT_EQ(index.locations[1].first_text, "Green.");  // after "&" on the label line
  EXPECT_EQ(index.locations[3].label, "use_key_turn");
  EXPECT_EQ(index.locations[3].end_line, 18);
}

TEST(QuestIndex, EveryLinkWithItsKindPlaceAndCaption) {
  QuestIndex index = index_quest(quest_text(kQuest), LintOptions{});
  EXPECT_TRUE(has_link(index, "cellar", LinkKind::jump, {4, 23}));
  EXPECT_TRUE(has_link(index, "garden", LinkKind::button, {5, 5}));
  EXPECT_TRUE(has_link(index, "wash", LinkKind::call, {6, 6}));
  EXPECT_TRUE(has_link(index, "common_2", LinkKind::common, {13, 1}));
  EXPECT_TRUE(has_link(index, "use_key_turn", LinkKind::use_action, {9, 10}));
  for (const Link& link : index.links) {
    if (link.kind == LinkKind::button) {
      EXPECT_EQ(link.caption, "Walk out");
    }
  }
}

TEST(QuestIndex, AssignmentsAndReadsByKey) {
  QuestIndex index = index_quest(quest_text(kQuest), LintOptions{});
  EXPECT_TRUE(has_place(index.assignments["gold"], {1, 1}));
  EXPECT_TRUE(has_place(index.assignments[";key"], {9, 10}));
  EXPECT_TRUE(has_place(index.assignments["%who"], {10, 7}));
  EXPECT_TRUE(has_place(index.assignments["age"], {12, 7}));
  EXPECT_TRUE(has_place(index.reads["gold"], {3, 25}));
  EXPECT_TRUE(has_place(index.reads["glod"], {4, 4}));
  EXPECT_TRUE(has_place(index.reads["%who"], {11, 7}));
  EXPECT_TRUE(has_place(index.reads[";key"], {11, 26}));
  EXPECT_FALSE(index.assignments.count("glod"));
  EXPECT_EQ(index.reads["glod"].front().length, 4);
}

TEST(QuestIndex, CyrillicNamesInUtf8FromEveryCodePage) {
  // ":дом" and "сад = 1" in Windows-1251 and as UTF-8.
  const std::string w = ":\xE4\xEE\xEC\r\n\xF1\xE0\xE4 = 1\r\nend\r\n";
  const std::string u = ":дом\r\nсад = 1\r\nend\r\n";
  for (auto [bytes, page] : {std::pair{w, 'w'}, {u, 'u'}}) {
    QuestIndex index = index_quest(bytes, LintOptions{page});
    ASSERT_EQ(index.locations.size(), 1u) << page;
    EXPECT_EQ(index.locations[0].label, "дом") << page;
    EXPECT_EQ(index.locations[0].place.length, 4) << page;
    EXPECT_TRUE(index.assignments.count("сад")) << page;
  }
}

TEST(QuestIndex, AQuestWithErrorsIsIndexedAllTheSame) {
  std::vector<std::string> q = {"x = (", ":a", "btn b, B", "end", ":b", "goto a"};
  QuestIndex index = index_quest(quest_text(q), LintOptions{});
  EXPECT_EQ(index.locations.size(), 2u);
  EXPECT_TRUE(has_link(index, "b", LinkKind::button, {3, 5}));
  EXPECT_TRUE(has_link(index, "a", LinkKind::jump, {6, 6}));
}

}  // namespace tindel::author::testing
