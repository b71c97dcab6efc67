// invkill and perkill, one name or all, and what the bulk forms must leave alone.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "UTypes/statements/parser.h"
#include "support/quest_harness.h"
#include "support/table_probe.h"

namespace tindel::testing {

namespace {

// The system variables as a quest has set them before a bulk removal.
constexpr const char* kSystemSetup =
    "styletextcolor = 30 & stylebuttoncolor = 14 & stylecursorcolor = 31\n"
    "image = 0 & instr sys = goto\n";

void run_to_end(Interp& it) {
  ASSERT_EQ(it.run_statements(), -1) << "the quest stopped early";
}

void expect_system_intact(const InterpreterState& s) {
  EXPECT_EQ(live_value(s, "$styletextcolor"), 30);
  EXPECT_EQ(live_value(s, "$stylebuttoncolor"), 14);
  EXPECT_EQ(live_value(s, "$stylecursorcolor"), 31);
  EXPECT_EQ(live_slot(s, "%sys"), 750);
  EXPECT_EQ(text_of(s, "sys"), "goto");
  EXPECT_EQ(live_slot(s, "%current_loc"), 743);
  EXPECT_EQ(s.var_values[742], 1.0);  // its text slot lies below the boundary, still kept
  EXPECT_EQ(pairing_fault(s), "");
}

}  // namespace

TEST(DataRemoval, InvkillWithANameRemovesThatItemOnly) {
  Interp it("inv + key & inv + 2, rope & key = 4\ninvkill key");
  run_to_end(it);
  EXPECT_EQ(live_slot(it.s(), ";key"), -1);
  EXPECT_EQ(live_value(it.s(), ";rope"), 2);
  EXPECT_EQ(live_value(it.s(), "$key"), 4);
}

TEST(DataRemoval, InvkillAloneRemovesEveryItemAndNothingElse) {
  Interp it(std::string(kSystemSetup) +
            "inv + key & inv - 2, debt & x = 3 & instr name = Bob\n"
            "invkill\n");
  run_to_end(it);
  const InterpreterState& s = it.s();
  EXPECT_EQ(live_slot(s, ";key"), -1);
  EXPECT_EQ(live_slot(s, ";debt"), -1);  // a negative count is an item all the same
  EXPECT_EQ(live_value(s, "$x"), 3);
  EXPECT_EQ(text_of(s, "name"), "Bob");
  expect_system_intact(s);
}

TEST(DataRemoval, PerkillWithANameRemovesBothVariablesNotTheItem) {
  Interp it("x = 3 & instr x = text & inv + 2, x & y = 1\nperkill x");
  int before = used_slots(it.s());
  run_to_end(it);
  const InterpreterState& s = it.s();
  EXPECT_EQ(live_slot(s, "$x"), -1);
  EXPECT_EQ(live_slot(s, "%x"), -1);
  EXPECT_EQ(live_value(s, ";x"), 2);
  EXPECT_EQ(live_value(s, "$y"), 1);
  EXPECT_EQ(used_slots(s), before + 2);  // the item and y: the text slot went too
  EXPECT_EQ(pairing_fault(s), "");
}

TEST(DataRemoval, PerkillAloneKeepsItemsAndTheSystem) {
  TempDir dir;
  // A choice first, so that current_loc holds a label when the bulk removal runs.
  QuestRun run = run_quest(dir,
                           std::string(kSystemSetup) +
                               "btn room, Go\n"
                               "end\n"
                               ":room\n"
                               "x = 3 & instr name = Bob & inv + 2, rope & inv - debt\n"
                               "perkill\n"
                               "pln [#x$][#%name$][#inv_rope$][#inv_debt$][#%current_loc$]\n"
                               ":common\n"
                               "end\n",
                           {.input = [](ScriptedConsole& c) { c.add_key(13); }});
  EXPECT_NE(run.output().find("[0][][2][-1][room]"), std::string::npos) << run.output();
  const InterpreterState& s = *run.state;
  EXPECT_EQ(live_slot(s, "$room"), -1);  // a visit counter is a numeric variable
  expect_system_intact(s);
}

// How the bulk removals treat texts that look like keys: by what a slot is, never by what it
// says. A text is no item and no string variable, whatever its first character.
TEST(DataRemoval, BulkRemovalsGoByTheSlotNotByTheText) {
  Interp it(
      "instr note = ;key\n"
      "instr alias = %note\n"
      "instr plain = %\n"
      "inv + rope\n"
      "invkill\n"
      "instr seen = #%note$|#%alias$|#%plain$\n");
  run_to_end(it);
  const InterpreterState& s = it.s();
  EXPECT_EQ(live_slot(s, ";rope"), -1);
  EXPECT_EQ(text_of(s, "seen"), ";key|%note|%");
  EXPECT_EQ(pairing_fault(s), "");

  Interp all(
      "instr note = ;key\n"
      "instr alias = %note\n"
      "inv + 2, rope\n"
      "perkill\n");
  int base = used_slots(all.s());
  run_to_end(all);
  EXPECT_EQ(live_slot(all.s(), "%note"), -1);
  EXPECT_EQ(live_slot(all.s(), "%alias"), -1);
  EXPECT_EQ(live_value(all.s(), ";rope"), 2);
  EXPECT_EQ(used_slots(all.s()), base + 1);  // nothing left but the item
  EXPECT_EQ(pairing_fault(all.s()), "");
}

// A text equal to an item's or a variable's key (";key", "$x") must not be taken for that item
// or variable: `inv - key` or `x = 0` would free the text slot for the next new variable.
TEST(DataRemoval, AnItemNamedLikeATextIsAnotherSlot) {
  Interp it(
      "instr note = ;key\n"
      "instr other = $x\n"
      "inv - key\n"
      "x = 0\n"
      "invkill\n"
      "perkill x\n"
      "y = 5 & z = 6\n");
  run_to_end(it);
  EXPECT_EQ(text_of(it.s(), "note"), ";key");
  EXPECT_EQ(text_of(it.s(), "other"), "$x");
  EXPECT_EQ(pairing_fault(it.s()), "");
}

// Random runs of the data statements: after every statement each string variable and its text
// slot still point at each other, and no text slot is left over as an item.
TEST(DataRemoval, RandomStatementsNeverLeaveASlotPointingAtAnother) {
  const std::vector<std::string> numbers = {"a", "b", "c"};
  const std::vector<std::string> items = {"key", "rope"};
  const std::vector<std::string> strings = {"s", "t", "u"};
  // Texts that look like keys: an item that no statement names, other string variables.
  const std::vector<std::string> texts = {"plain", ";note", ";map", "%s", "%t", "%", ";"};
  std::mt19937 random(20240611);
  auto pick = [&](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
  };
  auto statement = [&]() -> std::string {
    switch (std::uniform_int_distribution<int>(0, 8)(random)) {
      case 0:
        return pick(numbers) + " = " + std::to_string(random() % 3);
      case 1:
        return "inv + " + pick(items);
      case 2:
        return "inv - " + std::to_string(random() % 3) + ", " + pick(items);
      case 3:
        return "instr " + pick(strings) + " = " + pick(texts);
      case 4:
        return "invkill " + (random() % 2 ? pick(items) : std::string());
      case 5:
        return "perkill " + (random() % 2 ? pick(strings) : pick(numbers));
      case 6:
        return "perkill";
      case 7:
        return "inv_" + pick(items) + " = " + std::to_string(random() % 2);
      default:
        return "instr " + pick(strings) + " = #%" + pick(strings) + "$x";
    }
  };
  for (int round = 0; round < 60; ++round) {
    std::string quest;
    for (int i = 0; i < 40; ++i)
      quest += statement() + "\n";
    Interp it(quest);
    InterpreterState& s = it.s();
    int statements = 0;
    while (s.token_kind != TokenKind::Eof) {
      parser(s);
      std::string fault = pairing_fault(s);
      ASSERT_EQ(fault, "") << "before line " << s.line_no << " of\n" << quest;
      for (int i = 1; i < s.var_boundary; ++i) {
        std::string_view name = s.var_names[static_cast<std::size_t>(i)].view();
        if (s.var_values[static_cast<std::size_t>(i)] == 0.0 || !name.starts_with(';')) continue;
        if (paired_slot(s, i)) continue;  // a text that begins with ";"
        EXPECT_TRUE(name == ";key" || name == ";rope")
            << "slot " << i << " " << name << " before line " << s.line_no << " of\n"
            << quest;
      }
      ASSERT_LT(++statements, 10000);
    }
    EXPECT_EQ(live_slot(s, "%sys"), 750);
    EXPECT_EQ(s.var_values[742], 1.0);
  }
}

}  // namespace tindel::testing
