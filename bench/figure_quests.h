#pragma once
// The quests behind the published speed figures, generated so that anyone can time them again:
// three quests of a given size for the checks (statement-dense, text-heavy, one that reads
// hundreds of live variables), the play loop, and a quest that fills the variable table and
// saves again and again. All have CR LF line ends and pass a check in modes 2 and 3.
#include <cstddef>
#include <string>

namespace tindel::bench {

// Short lines of pln, btn, if, assignments and inv; two button references per location.
std::string statement_dense_quest(std::size_t bytes);

// Locations of long lines of prose, each location short of a full page.
std::string text_heavy_quest(std::size_t bytes);

// Sets `variables` numeric variables first, then reads them in assignments and conditions.
std::string many_variables_quest(std::size_t bytes, int variables);

// ":loop" / "i = i + 1" / "if i < passes then goto loop": three statements a pass.
std::string play_loop_quest(long passes);
constexpr int kPlayLoopStatementsPerPass = 3;

// Fills the table to `slots_in_use` slots (the seven system slots included), then runs
// `saves` passes of a loop; with `with_save` every pass writes save.txt, without it the
// same loop runs bare, so the difference of the two runs is the cost of the saves.
std::string save_loop_quest(int slots_in_use, int saves, bool with_save);

}  // namespace tindel::bench
