// A saved game resumed by mode 1 (or 6, with the trace, when the first byte is odd). The
// rest of the input is "save.txt" up to a NUL byte, then the quest; without a NUL a small
// quest of our own with a few locations stands in.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_run.h"

namespace {

constexpr std::string_view kQuest =
    ":start\r\n"
    "pln At the gate. #gold$ coins, #%name$.\r\n"
    "btn hall, In\r\n"
    "end\r\n"
    ":hall\r\n"
    "inv + lamp\r\n"
    "btn start, Out\r\n"
    "end\r\n"
    ":common\r\n"
    "gold = gold + 1\r\n"
    "end\r\n"
    ":use_lamp_look\r\n"
    "pln A brass lamp.\r\n"
    "end\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tindel::fuzz;
  if (size == 0) return 0;
  const bool traced = (data[0] & 1) != 0;
  std::string_view rest = as_text(data + 1, size - 1);
  auto [save, quest] = split_at(rest, '\0');
  if (quest.empty() && rest.find('\0') == std::string_view::npos) quest = kQuest;
  QuestInput input{
      .args = {traced ? "6" : "1", "w", "quest.qst"},
      .quest = quest,
      .keys = {13, 'u', 'i', 80, 13},
      .lines = {""},
      .save_game = save,
  };
  run_quest(input);
  return 0;
}
