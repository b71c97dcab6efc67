#include "quest_generator.h"

#include <random>

namespace tindel::bench {

namespace {

// "Привет, путник" in Windows-1251.
constexpr const char* kCyrillicGreeting = "\xCF\xF0\xE8\xE2\xE5\xF2, \xEF\xF3\xF2\xED\xE8\xEA";

struct Writer {
  std::string& out;
  void line(const std::string& text) { out += text + "\r\n"; }
};

std::string num(std::uint32_t n) {
  return std::to_string(n);
}

void location_body(Writer w, std::size_t i, std::mt19937& rng, const GeneratorOptions& o) {
  std::string me = location_label(i), next = location_label(i + 1), back = location_label(i / 2);
  w.line("; room " + std::to_string(i) + ": a few statements of every kind");
  w.line("gold = gold + " + num(rng() % 50) + " * 2 - 1");
  w.line("Steps Taken = steps taken + 1 ; mixed case names fold");
  w.line("pln You are in room #" + me + "$, gold #gold$, #rnd * 100$ percent luck.");
  w.line("p Apples: #inv_apple$ and the name &pln #%name$ (#%strcopy 1, 3, #%name$&$).");
  if (o.cyrillic_text) w.line(std::string("pln ") + kCyrillicGreeting + "! #$ ##33$");
  w.line("if gold > " + num(rng() % 1000) + " and steps < 100 or 3apple then inv + 2, apple");
  w.line("else inv - apple");
  w.line("if strlen #%name$& = 0 then instr name = Ann #gold$");
  w.line("price = (gold \\ 7) / 2.5 + 0.125");
  for (std::size_t k = 0; k < o.extra_lines; ++k)
    w.line("pln A line of plain description number " + std::to_string(k) + ".");
  w.line("btn " + next + ", Go on to the next room");
  w.line("btn " + back + ", Back to room " + std::to_string(i / 2));
  w.line("if 1 > 2 then goto " + back);
  w.line("end");
}

}  // namespace

std::string location_label(std::size_t i) {
  return "loc" + std::to_string(i);
}

GeneratedQuest generate_quest_with_labels(std::size_t bytes, const GeneratorOptions& options) {
  GeneratedQuest quest;
  std::mt19937 rng(options.seed);
  Writer w{quest.text};
  std::size_t i = 0;
  for (; quest.text.size() < bytes; ++i) {
    quest.labels.push_back(location_label(i));
    w.line(":" + quest.labels.back());
    location_body(w, i, rng, options);
  }
  quest.labels.push_back(location_label(i));
  w.line(":" + quest.labels.back() + " & pln The last room.");
  w.line("end");
  quest.labels.push_back("common");
  w.line(":common");
  w.line("end");
  return quest;
}

std::string generate_quest(std::size_t bytes, const GeneratorOptions& options) {
  return generate_quest_with_labels(bytes, options).text;
}

}  // namespace tindel::bench
