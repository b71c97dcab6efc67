// Quest text played in mode 0. The input is the quest, a NUL byte, the keys pressed (one
// byte each), another NUL and the lines typed, one per "\n". The first byte of the quest
// part chooses the code page (bits 0 and 1), a ".qs1" file name (bit 2) and the accessible
// mode (bit 3), where digits choose entries.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tindel::fuzz;
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  auto [quest, script] = split_at(as_text(data + 1, size - 1), '\0');
  auto [keys, lines] = split_at(script, '\0');
  QuestInput input{
      .args = {"0", codepage_of(choice), (choice & 4) ? "quest.qs1" : "quest.qst"},
      .quest = quest,
      .keys = {keys.begin(), keys.end()},
      .lines = lines_of(lines),
      .accessible = (choice & 8) != 0,
  };
  run_quest(input);
  return 0;
}
