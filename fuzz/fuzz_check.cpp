// Quest text checked in modes 2 and 3. The first byte chooses the mode (bit 0), the code
// page (bits 1 and 2) and a ".qs1" file name (bit 3); the rest is the quest.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  tindel::fuzz::QuestInput input{
      .args = {(choice & 1) ? "3" : "2", tindel::fuzz::codepage_of(choice >> 1),
               (choice & 8) ? "quest.qs1" : "quest.qst"},
      .quest = tindel::fuzz::as_text(data + 1, size - 1),
      .lines = {""},
  };
  tindel::fuzz::run_quest(input);
  return 0;
}
