// Finding the code page of a 4 MB Russian quest: UTF-8 is read through to its end; CP866
// (and Windows-1251 the same way) stops being UTF-8 at its first letter and is then scored
// by its letters.
#include <benchmark/benchmark.h>

#include <string>

#include "UTypes/charset/codepage_detect.h"
#include "UTypes/charset/cp866.h"

namespace tindel::bench {
namespace {

constexpr std::size_t kQuestBytes = 4u << 20;

std::string russian_quest_utf8() {
  const std::string location =
      ":yard\r\n"
      "pln Во дворе тихо, только ветер шевелит сухие листья у крыльца.\r\n"
      "pln Старый колодец зарос мхом, и ведро давно не поднимали.\r\n"
      "btn house, Войти в дом\r\n"
      "btn road, Выйти на дорогу\r\n"
      "end\r\n";
  std::string quest;
  while (quest.size() < kQuestBytes)
    quest += location;
  return quest;
}

void BM_DetectCodepage(benchmark::State& state) {
  const std::string utf8 = russian_quest_utf8();
  const std::string quest = state.range(0) == 0 ? utf8 : utf8_to_cp866(utf8);
  state.SetLabel(state.range(0) == 0 ? "UTF-8" : "CP866");
  for (auto _ : state)
    benchmark::DoNotOptimize(detect_codepage(quest));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * quest.size()));
}
BENCHMARK(BM_DetectCodepage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tindel::bench
