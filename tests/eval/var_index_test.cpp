#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "UTypes/eval/var_table.h"
#include "support/eval_probe.h"

namespace tindel::testing {
namespace {

// What a lookup finds by reading the names directly: the highest slot named `key` that is
// not a string variable's text posing as a "$" or ";" name, else the highest free slot below
// the boundary (0 when there is none). The empty key always takes the free slot.
int plain_getvar_answer(const InterpreterState& s, const std::string& key) {
  bool may_be_text = !key.empty() && (key[0] == '$' || key[0] == ';');
  if (!key.empty()) {
    for (int i = kLastSlot; i >= 1; --i) {
      if (s.var_names[static_cast<std::size_t>(i)].view() != key) continue;
      if (may_be_text && is_text_slot_of_string_variable(s, i)) continue;
      return i;
    }
  }
  int i = s.var_boundary - 1;
  while (i > 0 && s.var_values[static_cast<std::size_t>(i)] != 0.0)
    --i;
  return i;
}

std::string random_key(std::mt19937& rng) {
  static const char* prefixes[] = {"$", ";", "%", ""};
  std::string key = prefixes[rng() % 4];
  switch (rng() % 4) {
    case 0:
      return key + "v" + std::to_string(rng() % 40);
    case 1:
      return key + std::string(60 + rng() % 8, 'k');  // cut to the same 63 characters
    case 2:
      return key + "styletextcolor";
    default:
      return key + std::string(1, static_cast<char>('a' + rng() % 3));
  }
}

// One random change of the table: values set and freed, names written by hand (as saved
// games and the removal statements do), string variables given texts that look like keys.
void change_table(InterpreterState& s, std::mt19937& rng) {
  auto slot = static_cast<std::size_t>(1 + rng() % kLastSlot);
  switch (rng() % 5) {
    case 0:
      s.var_values[slot] = rng() % 3 == 0 ? 0.0 : 1.0 + rng() % 9;
      break;
    case 1:
      s.var_names[slot] = random_key(rng);
      break;
    case 2:
      s.var_names[slot].clear();
      s.var_values[slot] = 0.0;
      break;
    case 3: {
      int v = getvar(s, "%" + random_key(rng));
      int t = ensure_text_slot(s, v);
      if (t > 0) s.var_names[static_cast<std::size_t>(t)] = random_key(rng);
      break;
    }
    default:
      var_value(s, random_key(rng)) = 2.0;
      break;
  }
}

// The index beside the names must never change which slot a key gets: after every random
// change, a lookup answers as the direct reading of the table does.
TEST(VarIndex, EveryLookupFindsTheSlotADirectReadingFinds) {
  std::mt19937 rng(23);
  int compared = 0;
  for (int round = 0; round < 30; ++round) {
    Interp it("end\n", 1);
    InterpreterState& s = it.s();
    for (int step = 0; step < 400; ++step) {
      change_table(s, rng);
      std::string key = random_key(rng);
      std::string cut = key.substr(0, kNameMax);
      int expected = plain_getvar_answer(s, cut);
      if (expected == 0) continue;  // a full table ends the run: tested elsewhere
      ASSERT_EQ(getvar(s, key), expected) << "round " << round << " step " << step << " " << key;
      ++compared;
    }
  }
  EXPECT_GT(compared, 10000);
}

// Names that share their first characters and their length (as numbered variables do) must
// each find their own slot, and keep doing so after slots change hands.
TEST(VarIndex, NumberedNamesEachKeepTheirSlot) {
  Interp it("end\n", 1);
  InterpreterState& s = it.s();
  std::vector<int> slots;
  for (int v = 0; v < 700; ++v) {
    slots.push_back(getvar(s, "$var" + std::to_string(v)));
    s.var_values[static_cast<std::size_t>(slots.back())] = v + 1.0;
  }
  for (int v = 0; v < 700; v += 7)
    s.var_values[static_cast<std::size_t>(slots[static_cast<std::size_t>(v)])] = 0.0;
  for (int v = 0; v < 700; v += 7) {  // each freed slot is taken again, highest first
    int taken = getvar(s, "$new" + std::to_string(v));
    EXPECT_EQ(taken, slots[static_cast<std::size_t>(v)]);
    s.var_values[static_cast<std::size_t>(taken)] = 1.0;
  }
  for (int v = 1; v < 700; v += 7)
    EXPECT_EQ(getvar(s, "$var" + std::to_string(v)), slots[static_cast<std::size_t>(v)]);
  EXPECT_EQ(getvar(s, "$var0"), plain_getvar_answer(s, "$var0"));
  EXPECT_NE(getvar(s, "$var0"), slots[0]);  // its slot belongs to "$new0" now
}

}  // namespace
}  // namespace tindel::testing
