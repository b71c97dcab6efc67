// Writes the quests behind the published figures into a folder, for the script that times
// the built program on them as whole processes.
#include <fstream>
#include <iostream>
#include <string>

#include "figure_quests.h"

namespace {

constexpr std::size_t kCheckBytes = 4u << 20;
constexpr long kLoopPasses = 1000000;
constexpr int kSlotsInUse = 740;
constexpr int kSaves = 1000;

bool write(const std::string& dir, const std::string& name, const std::string& text) {
  std::ofstream out(dir + "/" + name, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: tindel_figure_quests <folder>\n";
    return 2;
  }
  using namespace tindel::bench;
  const std::string dir = argv[1];
  bool ok = write(dir, "dense.qst", statement_dense_quest(kCheckBytes)) &&
            write(dir, "text.qst", text_heavy_quest(kCheckBytes)) &&
            write(dir, "vars.qst", many_variables_quest(kCheckBytes, 700)) &&
            write(dir, "loop.qst", play_loop_quest(kLoopPasses)) &&
            write(dir, "save.qst", save_loop_quest(kSlotsInUse, kSaves, true)) &&
            write(dir, "nosave.qst", save_loop_quest(kSlotsInUse, kSaves, false));
  if (!ok) std::cerr << "tindel_figure_quests: cannot write into " << dir << "\n";
  return ok ? 0 : 1;
}
