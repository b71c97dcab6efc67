#include "figure_quests.h"

#include <random>

namespace tindel::bench {

namespace {

struct Lines {
  std::string text;
  void operator()(const std::string& line) { text += line + "\r\n"; }
};

std::string n(std::size_t i) {
  return std::to_string(i);
}

// The location every `end` of a check calls as the common location; a check in mode 3
// looks it up, so it stands at the very end.
void close_quest(Lines& out) {
  out(":common");
  out("end");
}

constexpr const char* kProse[] = {
    "The road winds on between old stone walls, and the wind carries the smell of rain from",
    "the hills; somewhere far off a bell is ringing, slow and patient, as it has rung for a",
    "hundred years over the quiet fields, the sleeping farms and the grey river that runs on",
    "toward the sea. A traveller who stops here may rest a while in the shade of the elms,"};

}  // namespace

std::string statement_dense_quest(std::size_t bytes) {
  Lines out;
  std::size_t i = 0;
  for (; out.text.size() < bytes; ++i) {
    out(":d" + n(i));
    out("pln Room " + n(i));
    out("a = a + 1");
    out("if a > 5 then b = 2");
    out("inv + 1, key");
    out("btn d" + n(i + 1) + ", On");
    out("btn d" + n(i / 2) + ", Back");
    out("c = a * 2 - b");
    out("inv - key");
    out("end");
  }
  out(":d" + n(i));
  out("end");
  close_quest(out);
  return out.text;
}

std::string text_heavy_quest(std::size_t bytes) {
  Lines out;
  std::size_t i = 0;
  for (; out.text.size() < bytes; ++i) {
    out(":t" + n(i));
    // Six lines of about 350 characters: eighteen screen lines, below a page.
    for (std::size_t k = 0; k < 6; ++k) {
      std::string line = "pln ";
      for (std::size_t part = 0; part < 4; ++part)
        line += std::string(kProse[(i + k + part) % 4]) + " ";
      out(line);
    }
    out("btn t" + n(i + 1) + ", Walk on");
    out("end");
  }
  out(":t" + n(i));
  out("end");
  close_quest(out);
  return out.text;
}

std::string many_variables_quest(std::size_t bytes, int variables) {
  Lines out;
  auto count = static_cast<unsigned>(variables);
  out(":start");
  for (unsigned v = 0; v < count; ++v)
    out("var" + n(v) + " = " + n(v + 1));
  std::mt19937 rng(7);
  std::size_t i = 0;
  for (; out.text.size() < bytes; ++i) {
    out(":v" + n(i));
    for (int k = 0; k < 6; ++k) {
      unsigned a = rng() % count, b = rng() % count, c = rng() % count;
      out("var" + n(a) + " = var" + n(b) + " + var" + n(c) + " - var" + n(a));
    }
    unsigned d = rng() % count;
    out("if var" + n(d) + " > 3 then pln big #var" + n(d) + "$");
    out("btn v" + n(i + 1) + ", On");
    out("end");
  }
  out(":v" + n(i));
  out("end");
  close_quest(out);
  return out.text;
}

std::string play_loop_quest(long passes) {
  Lines out;
  out(":loop");
  out("i = i + 1");
  out("if i < " + std::to_string(passes) + " then goto loop");
  out("pln #i$ passes");
  return out.text;
}

std::string save_loop_quest(int slots_in_use, int saves, bool with_save) {
  Lines out;
  constexpr int kSystemSlots = 7;
  for (int v = 0; v < slots_in_use - kSystemSlots - 1; ++v)  // the loop counter is one more
    out("filler" + std::to_string(v) + " = " + std::to_string(v + 1) + ".25");
  out(":again");
  out("i = i + 1");
  if (with_save) out("save again");
  out("if i < " + std::to_string(saves) + " then goto again");
  return out.text;
}

}  // namespace tindel::bench
