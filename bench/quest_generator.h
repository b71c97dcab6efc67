#pragma once
// Synthetic quests for the benchmarks: many locations of typical statements, so that reading,
// jumping and evaluating can be timed over quests of any size.
//
// A generated quest is valid and playable. It has CR LF line ends and consists of
//   - numbered locations ":loc0", ":loc1", ... in order, each with a comment, assignments,
//     p/pln text with "#...$" substitutions (numbers, string variables, strcopy), inventory
//     changes, if/else lines, an instr, buttons to the next location and to an earlier one,
//     a goto that is never taken, and `end`;
//   - a last location that only ends, so every forward reference has a label;
//   - the common location ":common" at the very end (so a search for it reads everything).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tindel::bench {

struct GeneratorOptions {
  std::uint32_t seed = 1;       // the same seed gives the same quest
  bool cyrillic_text = true;    // some text in Windows-1251 letters (read with code page w)
  std::size_t extra_lines = 0;  // more plain text lines in every location
};

struct GeneratedQuest {
  std::string text;                 // the quest file's bytes
  std::vector<std::string> labels;  // every location label in file order, "common" last
};

// A quest of at least `bytes` bytes (it stops after the location that reaches the size).
GeneratedQuest generate_quest_with_labels(std::size_t bytes, const GeneratorOptions& options = {});

// The same quest, its text only.
std::string generate_quest(std::size_t bytes, const GeneratorOptions& options = {});

// The label of the generated location number i ("loc" + i).
std::string location_label(std::size_t i);

}  // namespace tindel::bench
