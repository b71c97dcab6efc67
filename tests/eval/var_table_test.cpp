#include "UTypes/eval/var_table.h"

#include <gtest/gtest.h>

#include <string>

#include "support/eval_probe.h"

namespace tindel::testing {
namespace {

std::string name_at(InterpreterState& s, int i) {
  return s.var_names[static_cast<std::size_t>(i)].str();
}
double value_at(InterpreterState& s, int i) {
  return s.var_values[static_cast<std::size_t>(i)];
}

TEST(VarTable, StartUpLayout) {
  Interp in("end\n");
  InterpreterState& s = in.s();
  struct Slot {
    int index;
    const char* name;
    double value;
  };
  const Slot slots[] = {
      {750, "%sys", -1.0},
      {749, "", 1.0},
      {748, "$styletextcolor", 7.0},
      {747, "$stylebuttoncolor", 7.0},
      {746, "$stylecursorcolor", 126.0},
      {745, "$image", 0.0},
      {744, "$common", 0.0},
      {743, "%current_loc", -1.0},
      {742, "", 1.0},
      {741, "", 0.0},
      {0, "", 0.0},
  };
  EXPECT_EQ(s.var_boundary, 743);
  for (const Slot& slot : slots) {
    EXPECT_EQ(name_at(s, slot.index), slot.name) << slot.index;
    EXPECT_EQ(value_at(s, slot.index), slot.value) << slot.index;
  }
}

TEST(VarTable, NewVariablesFillDownwardAndReuseFreedSlots) {
  Probe probe("a = 1\nb = 2\n", "if 1 then");
  InterpreterState& s = probe.s();
  EXPECT_EQ(getvar(s, "$a"), 741);
  EXPECT_EQ(getvar(s, "$b"), 740);
  s.var_values[740] = 0.0;  // b = 0: the slot is free again
  int c = getvar(s, "$c");
  EXPECT_EQ(c, 740);
  s.var_values[740] = 3.0;
  EXPECT_EQ(value_at(s, getvar(s, "$b")), 0.0);  // b is gone: a fresh slot, read as 0
}

TEST(VarTable, ReadingAnUnsetNameTwiceGivesOneFreeSlot) {
  Interp in("end\n");
  InterpreterState& s = in.s();
  int first = getvar(s, "$ghost");
  EXPECT_EQ(value_at(s, first), 0.0);
  EXPECT_EQ(getvar(s, "$ghost"), first);
  EXPECT_EQ(getvar(s, "$other"), first);  // still free: the next creation takes it
  EXPECT_EQ(name_at(s, first), "$other");
}

TEST(VarTable, KeysDifferByCaseButScriptNamesAreFolded) {
  Interp in("end\n");
  InterpreterState& s = in.s();
  EXPECT_EQ(getvar(s, "$Key"), 741);
  s.var_values[741] = 1.0;
  EXPECT_EQ(getvar(s, "$key"), 740);
  EXPECT_EQ(eval("key", "KEY = 4\n"), 4.0);
}

TEST(VarTable, KeysAreCutToSixtyThreeCharacters) {
  std::string long_name(70, 'n');
  std::string other = long_name.substr(0, 61) + "zzzz";
  EXPECT_EQ(eval(long_name.substr(0, 62) + "nxyz", long_name + " = 9\n"), 9.0);
  EXPECT_EQ(eval(other, long_name + " = 9\n"), 0.0);
  Interp in("end\n");
  int slot = getvar(in.s(), "$" + long_name);
  EXPECT_EQ(name_at(in.s(), slot), "$" + long_name.substr(0, 62));
}

TEST(VarTable, EmptyKeyAlwaysCreates) {
  Interp in("end\n");
  InterpreterState& s = in.s();
  int first = getvar(s, "");
  EXPECT_EQ(getvar(s, ""), first);  // left at 0.0: still free
  s.var_values[static_cast<std::size_t>(first)] = 1.0;
  int second = getvar(s, "");
  EXPECT_NE(second, first);
  EXPECT_EQ(name_at(s, second), "");
}

// 741 numeric variables fill every slot below the boundary.
std::string filling_quest() {
  std::string quest;
  for (int i = 1; i <= 741; ++i)
    quest += "v" + std::to_string(i) + " = " + std::to_string(i) + "\n";
  return quest;
}

TEST(VarTable, FullTableKeepsExistingNamesAndRefusesNewOnes) {
  TempDir dir;
  QuestRun run = run_quest(dir, filling_quest() +
                                    "v5 = v5 + v741\n"
                                    "pln #v5$\n"
                                    "extra = 1\n"
                                    "pln not reached\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(error_line(run), "Error: [prog] VAR TABLE OUT  (STR:745,POS:1,TOKEN:<NEWLN>)");
}

}  // namespace
}  // namespace tindel::testing
