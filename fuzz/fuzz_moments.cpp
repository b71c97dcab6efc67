// A file of moments that a game continues from. When the first byte is odd the rest is one
// moment's bytes, put into a whole file of our quest (so that the checksum and the quest's
// identity hold and the moment itself is tried); otherwise the rest is the whole file. The
// game then goes on from the moment with Back, restart and a few choices.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "UTypes/moments/moments_file.h"
#include "fuzz/fuzz_run.h"

namespace {

// A pause and an end at call depth 0, a draw of rnd, an item with a use action.
constexpr std::string_view kQuest =
    ":start\r\n"
    "x = rnd\r\n"
    "btn room, Room\r\n"
    "btn start, Stay\r\n"
    "pause 300\r\n"
    "inv + 2, key\r\n"
    "end\r\n"
    ":room\r\n"
    "pln #x$ #%name$ #turns$\r\n"
    "btn start, Leave\r\n"
    "end\r\n"
    ":use_key_turn\r\n"
    "pln Click.\r\n"
    "end\r\n"
    ":common\r\n"
    "turns = turns + 1\r\n"
    "end\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tindel::fuzz;
  if (size == 0) return 0;
  std::string_view rest = as_text(data + 1, size - 1);
  std::string file(rest);
  if ((data[0] & 1) != 0) file = tindel::moments_file_bytes(tindel::quest_identity(kQuest), rest);
  QuestInput input{
      .args = {"0", "w", "quest.qst"},
      .quest = kQuest,
      .keys = {13, 8, 'u', 80, 13, 8, 8, 18, 27, 13, 8, 18, 13, 13},
      .lines = {""},
      .moments_file = file,
  };
  run_quest(input);
  return 0;
}
