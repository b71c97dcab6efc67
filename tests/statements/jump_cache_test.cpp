// The remembered label positions and the line index must never change what a jump, a return
// or a label check does: random quests are run once with them and once reading the quest
// from its top every time, and every step must leave the same state.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "UTypes/eval/var_table.h"
#include "UTypes/source/scanner.h"
#include "UTypes/state/program_end.h"
#include "UTypes/statements/label_index.h"
#include "UTypes/statements/labels.h"
#include "support/flow_quests.h"

namespace tindel::testing {
namespace {

const std::vector<std::string> kNames = {"forest", "forest2", "forestpath", "fores",
                                         "cave",   "a",       "room"};

int pick(std::mt19937& rng, int n) {
  return static_cast<int>(rng() % static_cast<unsigned>(n));
}

const std::string& any_name(std::mt19937& rng) {
  return kNames[static_cast<std::size_t>(pick(rng, static_cast<int>(kNames.size())))];
}

// The name as a quest author might write it: some letters upper-case, blanks and tabs inside.
std::string written(std::mt19937& rng, const std::string& name) {
  std::string out;
  for (char c : name) {
    if (pick(rng, 4) == 0) out += pick(rng, 2) ? " " : "\t";
    out += pick(rng, 3) == 0 && c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
  }
  return out;
}

std::string random_line(std::mt19937& rng) {
  const std::string& name = any_name(rng);
  switch (pick(rng, 15)) {
    case 0:
      return ":" + written(rng, name);
    case 1:
      return ": " + written(rng, name) + " ; a comment";
    case 2:
      return ":" + written(rng, name) + " & pln here";
    case 3:
      return "pln see:" + written(rng, name);
    case 4:
      return "pln a:b:" + name;
    case 5:
      return "::" + name;
    case 6:
      return ":" + name.substr(0, 2) + ":" + name;
    case 7:
      return "pln text " + std::to_string(pick(rng, 100));
    case 8:
      return "proc " + written(rng, name);
    case 9:
      return "goto " + name;
    case 10:
      return "end";
    case 11:
      return "";
    case 12:
      return "; note: " + name;
    case 13:
      return ":" + name + "2";
    default:
      return "pln x:" + name + " more";
  }
}

// Bytes that only some quests hold: in the DOS code page 0xFF ends a line and 0xFE the quest
// for a search; a lone LF is a blank; a CR without its LF is an error wherever it is read.
std::string odd_line(std::mt19937& rng, const std::string& name) {
  switch (pick(rng, 4)) {
    case 0:
      return "pln \xFF:" + name;
    case 1:
      return "pln \xFE end of the search";
    case 2:
      return ":" + name + "\nx";
    default:
      return "pln a lone \r here";
  }
}

struct RandomQuest {
  std::string bytes;
  bool dos_codepage = false;
  bool encoded = false;
};

RandomQuest random_quest(std::mt19937& rng) {
  RandomQuest quest;
  quest.dos_codepage = pick(rng, 4) == 0;
  quest.encoded = pick(rng, 8) == 0;
  bool odd = quest.dos_codepage || pick(rng, 3) == 0;
  int lines = 5 + pick(rng, 40);
  for (int i = 0; i < lines; ++i) {
    std::string line = odd && pick(rng, 5) == 0 ? odd_line(rng, any_name(rng)) : random_line(rng);
    quest.bytes += line + "\r\n";
  }
  if (pick(rng, 5) == 0) quest.bytes.resize(quest.bytes.size() - 2);  // no last line end
  if (quest.encoded)
    for (char& c : quest.bytes)
      if (static_cast<unsigned char>(c) >= 32)
        c = static_cast<char>(287 - static_cast<unsigned char>(c));
  return quest;
}

// What a step leaves behind, compared between the two ways of reading.
struct Snapshot {
  bool ended = false;
  int status = 0;
  std::string screen;
  std::size_t pos = 0;
  std::int32_t line_no = 0, line_pos = 0, call_depth = 0;
  int cur_char = 0;
  TokenKind token_kind = TokenKind::Unknown;
  std::string token_text;
  std::vector<double> values;
  friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

Snapshot snapshot(Interp& it) {
  InterpreterState& s = it.s();
  return Snapshot{false,
                  0,
                  "",
                  s.quest_file.pos(),
                  s.line_no,
                  s.line_pos,
                  s.call_depth,
                  s.cur_char,
                  s.token_kind,
                  s.token_text,
                  std::vector<double>(s.var_values.begin(), s.var_values.end())};
}

std::string describe(const Snapshot& a) {
  return "ended " + std::to_string(a.ended) + " line " + std::to_string(a.line_no) + ":" +
         std::to_string(a.line_pos) + " char " + std::to_string(a.cur_char) + " depth " +
         std::to_string(a.call_depth) + " text '" + a.token_text + "' screen " + a.screen;
}

// One random step: a jump, a call, a return, some tokens read, or a label check.
void step(Interp& it, std::mt19937& rng) {
  InterpreterState& s = it.s();
  switch (pick(rng, 5)) {
    case 0:
      return gotolabel(s, pick(rng, 8) ? any_name(rng) : "nowhere");
    case 1:
      if (s.call_depth < 40) call(s, any_name(rng));
      return;
    case 2:
      if (s.call_depth > 0) return_from_call(s);
      return;
    case 3:
      for (int n = 1 + pick(rng, 6); n > 0 && s.token_kind != TokenKind::Eof; --n)
        gettoken(s);
      return;
    default: {
      const char* odd[] = {"fo:rest", "", "nowhere", "forest2"};
      if (pick(rng, 6)) return check_label(s, pick(rng, 3) ? any_name(rng) : odd[pick(rng, 4)]);
      // Names holding ":", as `system` can give them: the texts after a ":" of the odd lines.
      const std::string& name = any_name(rng);
      const std::string colon_names[] = {"b:" + name, name.substr(0, 2) + ":" + name,
                                         ":" + name,  "a:b:" + name,
                                         name + ":x", "fo:" + name};
      return check_label(s, colon_names[pick(rng, 6)]);
    }
  }
}

std::vector<Snapshot> run_steps(const RandomQuest& quest, std::uint32_t seed, bool direct) {
  Interp it(quest.bytes, 0, false);
  it.s().direct_reads = direct;
  it.s().codepage_w = !quest.dos_codepage;
  it.s().qs1_file = quest.encoded;
  std::mt19937 rng(seed);
  std::vector<Snapshot> seen;
  for (int i = 0; i < 60; ++i) {
    try {
      step(it, rng);
      seen.push_back(snapshot(it));
    } catch (const ProgramEnd& end) {
      Snapshot last = snapshot(it);
      last.ended = true;
      last.status = end.status;
      last.screen = it.console().transcript();
      seen.push_back(last);
      break;
    }
  }
  return seen;
}

TEST(JumpCache, RandomQuestsGiveTheSameStateWithAndWithoutIt) {
  int ended = 0, steps = 0;
  for (std::uint32_t seed = 1; seed <= 400; ++seed) {
    std::mt19937 rng(seed);
    RandomQuest quest = random_quest(rng);
    std::vector<Snapshot> cached = run_steps(quest, seed, false);
    std::vector<Snapshot> direct = run_steps(quest, seed, true);
    ASSERT_EQ(cached.size(), direct.size()) << quest.bytes;
    for (std::size_t i = 0; i < cached.size(); ++i)
      ASSERT_EQ(cached[i], direct[i]) << "quest " << seed << " step " << i << "\n"
                                      << quest.bytes << "\ncached: " << describe(cached[i])
                                      << "\ndirect: " << describe(direct[i]);
    ended += cached.back().ended;
    steps += static_cast<int>(cached.size());
  }
  // Both outcomes must have been exercised for the comparison to mean something.
  EXPECT_GT(ended, 30);
  EXPECT_GT(steps, 1800);
}

// The gathering behind the first jump must know every label a jump finds, and where: a
// label it missed would only cost a reading, so this is checked on its own.
TEST(JumpCache, TheGatheringKnowsEveryLabelThatAJumpFinds) {
  int known = 0;
  for (std::uint32_t seed = 1; seed <= 100; ++seed) {
    std::mt19937 rng(seed);
    RandomQuest quest = random_quest(rng);
    Interp cached(quest.bytes, 0, false);
    cached.s().codepage_w = !quest.dos_codepage;
    cached.s().qs1_file = quest.encoded;
    try {
      gotolabel(cached.s(), "nowhere");
    } catch (const ProgramEnd&) {
    }
    if (!cached.s().jump_cache.count(kGatheredMark)) continue;  // a quest the walk cannot read
    std::vector<std::string> names = kNames;
    for (const auto& [name, hit] : cached.s().jump_cache)
      if (name != kGatheredMark) names.push_back(name);
    Interp direct(quest.bytes, 0, false);
    direct.s().codepage_w = !quest.dos_codepage;
    direct.s().qs1_file = quest.encoded;
    direct.s().direct_reads = true;
    for (const std::string& name : names) {
      auto hit = cached.s().jump_cache.find(name);
      try {
        gotolabel(direct.s(), name);
        ASSERT_NE(hit, cached.s().jump_cache.end()) << "seed " << seed << " " << name;
        ReaderMark at = reader_mark(direct.s());
        EXPECT_EQ(hit->second.mark.pos, at.pos) << "seed " << seed << " " << name;
        EXPECT_EQ(hit->second.mark.line_no, at.line_no) << "seed " << seed << " " << name;
        EXPECT_EQ(hit->second.mark.line_pos, at.line_pos) << "seed " << seed << " " << name;
        EXPECT_EQ(hit->second.mark.cur_char, at.cur_char) << "seed " << seed << " " << name;
        ++known;
      } catch (const ProgramEnd&) {
        EXPECT_EQ(hit, cached.s().jump_cache.end()) << "seed " << seed << " " << name;
      }
    }
  }
  EXPECT_GT(known, 150);
}

// In the DOS code page a byte 0xFE reads as the end of the quest: a return that reads over it
// from the top stops there, with the line index as without it.
TEST(JumpCache, AnEndMarkerByteStopsAReturnReadFromTheTop) {
  for (bool direct : {false, true}) {
    Interp it("pln \xFE\nproc helper\npln back\n:helper\nend\n");
    it.s().codepage_w = false;
    it.s().direct_reads = direct;
    EXPECT_EQ(it.run_statements(), 1) << direct;
    EXPECT_TRUE(holds(it.console().transcript(), "Error: [end] return line <3> not found  (STR:1,"))
        << direct << it.console().transcript();
  }
}

void rewrite_quest(const std::string& text) {
  std::ofstream out("quest.qst", std::ios::binary | std::ios::trunc);
  out << crlf(text);
}

// An edit on disk is seen at the first jump after the menu asks for a recheck, and not
// before: jumps and checks in between keep reading the text they started with.
TEST(JumpCache, AQuestChangedOnDiskIsReadAnewAtTheJumpAfterARecheck) {
  for (bool direct : {false, true}) {
    Interp it("pln a\n:room\npln b\n:old\nend\n");
    it.s().direct_reads = direct;
    gotolabel(it.s(), "room");
    EXPECT_EQ(it.s().line_no, 3);
    check_label(it.s(), "old");
    rewrite_quest("pln a\npln more\n\n:room\npln b\n:new\nend\n");
    check_label(it.s(), "old");
    gotolabel(it.s(), "room");
    EXPECT_EQ(it.s().line_no, 3) << direct;
    it.s().quest_file.recheck_disk();
    gotolabel(it.s(), "room");
    EXPECT_EQ(it.s().line_no, 5) << direct;
    check_label(it.s(), "new");
    EXPECT_THROW(check_label(it.s(), "old"), ProgramEnd);
  }
  for (bool direct : {false, true}) {
    Interp it("pln a\n:room\npln b\n");
    it.s().direct_reads = direct;
    gotolabel(it.s(), "room");
    rewrite_quest("pln a\npln more\n\n:room\npln b\n");
    it.s().quest_file.recheck_disk();
    gotolabel(it.s(), "room");
    EXPECT_EQ(it.s().line_no, 5) << direct;
    EXPECT_EQ(it.s().var_values[static_cast<std::size_t>(getvar(it.s(), "$room"))], 2.0);
  }
}

TEST(JumpCache, AReturnAfterTheQuestChangedReadsTheNewText) {
  for (bool direct : {false, true}) {
    Interp it("proc helper & pln same line\npln next\n:helper\nend\n");
    it.s().direct_reads = direct;
    gettoken(it.s());  // "helper" and "&": the call is made from line 1
    call(it.s(), "helper");
    rewrite_quest("pln first line, longer now\npln second\n:helper\nend\n");
    it.s().quest_file.recheck_disk();
    return_from_call(it.s());
    gettoken(it.s());
    EXPECT_EQ(it.s().token_kind, TokenKind::Pln) << direct;
    EXPECT_EQ(it.s().line_no, 1) << direct;  // the line-based return: line 1 from its start
  }
}

}  // namespace
}  // namespace tindel::testing
