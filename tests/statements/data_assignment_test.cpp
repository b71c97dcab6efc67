// Assignments, the inventory and string variables, driven by small quests.
#include <gtest/gtest.h>

#include <string>

#include "support/quest_harness.h"
#include "support/table_probe.h"

namespace tindel::testing {

namespace {

// Runs the quest to its end and returns the interpreter for inspection.
Interp& ran(Interp& it) {
  EXPECT_EQ(it.run_statements(), -1) << "the quest stopped early";
  return it;
}

}  // namespace

struct SlotCase {
  const char* quest;
  const char* key;
  double value;
};

TEST(DataAssignment, StoresUnderTheKeyItsNameSelects) {
  const SlotCase cases[] = {
      {"x = 2 + 3 * 4", "$x", 14},
      {"Long Name = 7", "$longname", 7},  // names are lower-cased, blanks dropped
      {"inv_key = 5", ";key", 5},
      {"inv_key = 5\ninv_key = inv_key + 1", ";key", 6},
      {"x = 7 & y = x * 2", "$y", 14},
      {"styletextcolor = 30", "$styletextcolor", 30},
      {"image = 7", "$image", 7},
      {"inv_key = 5", "$inv_key", 0},  // the prefix names the item, not a numeric variable
  };
  for (const auto& c : cases) {
    Interp it(c.quest);
    ran(it);
    EXPECT_EQ(live_value(it.s(), c.key), c.value) << c.quest;
  }
}

TEST(DataAssignment, ZeroFreesTheSlotForTheNextVariable) {
  Interp it("x = 7\nx = 0\ny = 1");
  int before = used_slots(it.s());
  ran(it);
  EXPECT_EQ(live_slot(it.s(), "$x"), -1);
  EXPECT_EQ(used_slots(it.s()), before + 1);  // y took the slot x left
  EXPECT_EQ(live_slot(it.s(), "$y"), 741);    // the first free slot below the system's
}

TEST(DataAssignment, ItemCountZeroRemovesTheItem) {
  Interp it("inv_key = 5\ninv_key = 0\nheld = key");
  ran(it);
  EXPECT_EQ(live_slot(it.s(), ";key"), -1);
  EXPECT_EQ(live_value(it.s(), "$held"), 0);
}

struct InvCase {
  const char* quest;
  double count;
};

TEST(DataInventory, CountsAreExpressionsThatBeginWithANumber) {
  const InvCase cases[] = {
      {"inv + key", 1},
      {"inv + key & inv + key", 2},
      {"inv - 2, key", -2},
      {"inv + 6/2, key", 3},
      {"inv - 6/2, key", -3},
      {"inv + 2.7, key", 2},  // truncated toward zero
      {"inv + 1 + 4, key", 5},
      {"inv + 3, key & inv - 1, key", 2},
      {"inv + 3, key & inv - 3, key", 0},
      {"inv - key", -1},
  };
  for (const auto& c : cases) {
    Interp it(c.quest);
    ran(it);
    EXPECT_EQ(live_value(it.s(), ";key"), c.count) << c.quest;
  }
}

TEST(DataInventory, ANegativeCountReadsBackButIsNotListed) {
  TempDir dir;
  QuestRun run = run_quest(dir,
                           "inv - key\n"
                           "inv + 3, rope\n"
                           "pln key #inv_key$ held #key$\n"
                           "end\n",
                           {.input = [](ScriptedConsole& c) { c.add_key('i'); }});
  EXPECT_NE(run.output().find("key -1 held 0"), std::string::npos) << run.output();
  EXPECT_NE(run.output().find("3. rope"), std::string::npos) << run.output();
  EXPECT_EQ(run.output().find(". key"), std::string::npos) << run.output();
}

TEST(DataInventory, TheStatementEndsAtItsItem) {
  // The token after the item stays current, so "&" goes on with the next statement.
  Interp it("inv + key & x = 1\ninv + 2, key & y = 1");
  ran(it);
  EXPECT_EQ(live_value(it.s(), ";key"), 3);
  EXPECT_EQ(live_value(it.s(), "$x"), 1);
  EXPECT_EQ(live_value(it.s(), "$y"), 1);
}

TEST(DataInstr, SetsTextWithSubstitutions) {
  Interp it("n = 2\ninstr name = Bob #n + 1$ & p x\ninstr other = #%name$!");
  ran(it);
  EXPECT_EQ(text_of(it.s(), "name"), "Bob 3 ");  // the text runs up to the "&"
  EXPECT_EQ(text_of(it.s(), "other"), "Bob 3 !");
}

TEST(DataInstr, ASecondInstrReusesTheTextSlot) {
  Interp it("instr name = Bob");
  ASSERT_EQ(it.run_statements(3), -1);
  int header = live_slot(it.s(), "%name");
  ASSERT_GT(header, 0);
  int text_slot = header + static_cast<int>(it.s().var_values[static_cast<std::size_t>(header)]);
  int used = used_slots(it.s());

  Interp again("instr name = Bob\ninstr name = Ann");
  ran(again);
  EXPECT_EQ(live_slot(again.s(), "%name"), header);
  EXPECT_EQ(again.s().var_names[static_cast<std::size_t>(text_slot)].str(), "Ann");
  EXPECT_EQ(used_slots(again.s()), used);
}

TEST(DataInstr, TextIsCutTo63Characters) {
  std::string long_text(70, 'a');
  long_text[62] = 'Z';
  Interp it("instr t = " + long_text);
  ran(it);
  EXPECT_EQ(text_of(it.s(), "t"), long_text.substr(0, 63));
}

TEST(DataInstr, EmptyTextStillMakesAStringVariable) {
  Interp it("instr t =\nx = 1");
  ran(it);
  EXPECT_GT(live_slot(it.s(), "%t"), 0);
  EXPECT_EQ(text_of(it.s(), "t"), "");
  EXPECT_EQ(pairing_fault(it.s()), "");
}

struct ErrorCase {
  const char* quest;
  const char* message;
};

TEST(DataErrors, EachMalformedStatementIsReported) {
  const ErrorCase cases[] = {
      {"x + 1", "[parser] \"=\" expected"},         {"inv key", "[inv_] \"+\" or \"-\" expected"},
      {"inv +", "[inv_] NUMBER or IDENT expected"}, {"inv + 2 key", "[inv_] \",\" expected"},
      {"inv + 2,", "[inv_] IDENT expected"},        {"instr = Bob", "[instr] IDENT expected"},
      {"common 2", "[common] \"=\" expected"},      {"music 2", "[music] \"=\" expected"},
      {"play", "[play] STRING expected"},           {"play & p x", "[play] STRING expected"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    QuestRun run = run_quest(dir, std::string("p before\n") + c.quest + "\np after\n");
    EXPECT_EQ(run.status, 1) << c.quest;
    EXPECT_NE(run.output().find(std::string("Error: ") + c.message + "  (STR:"), std::string::npos)
        << c.quest << "\n"
        << run.output();
    EXPECT_EQ(run.output().find("after"), std::string::npos) << c.quest;
  }
}

// A bare name, or a misspelt keyword, is an assignment without its "=".
TEST(DataErrors, ABareNameIsAnAssignmentWithoutEquals) {
  for (const char* quest : {"hello\np after\n", "pnl Hello\np after\n", "hello & p after\n"}) {
    TempDir dir;
    QuestRun run = run_quest(dir, quest, {.args = {"2", "w", "quest.qst"}, .input = {}});
    EXPECT_EQ(run.status, 1) << quest;
    EXPECT_NE(run.output().find("[parser] \"=\" expected"), std::string::npos) << run.output();
  }
}

TEST(DataErrors, ReportNamesWhereTheScannerStood) {
  TempDir dir;
  QuestRun run = run_quest(dir, "x = 1\ninv + 2,\n");
  EXPECT_NE(run.output().find("Error: [inv_] IDENT expected  (STR:3,POS:0,TOKEN:<NEWLN>)"),
            std::string::npos)
      << run.output();
}

TEST(DataErrors, AFullTableStopsTheQuest) {
  // `system` reads as the text of sys, so every pass assigns a new variable v1, v2, ...
  TempDir dir;
  QuestRun run = run_quest(dir,
                           ":loop\n"
                           "n = n + 1\n"
                           "instr sys = v#n$\n"
                           "system = n\n"
                           "goto loop\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output().find("Error: [prog] VAR TABLE OUT"), std::string::npos) << run.output();
  InterpreterState& s = *run.state;
  for (int i = 1; i < s.var_boundary; ++i)
    EXPECT_NE(s.var_values[static_cast<std::size_t>(i)], 0.0) << "slot " << i << " still free";
  double last = live_value(s, "$n");
  EXPECT_EQ(live_slot(s, "$v" + std::to_string(static_cast<int>(last))), -1);
  EXPECT_EQ(live_value(s, "$v" + std::to_string(static_cast<int>(last) - 1)), last - 1);
}

}  // namespace tindel::testing
