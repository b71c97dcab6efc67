#pragma once
// The one record every routine of the interpreter shares. Routines talk to each other
// through it: a routine leaves its result here and the caller reads it at once.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "UTypes/charset/locale_charset.h"
#include "UTypes/diagnostics/check_observer.h"
#include "UTypes/source/quest_file.h"
#include "UTypes/state/found_labels.h"
#include "UTypes/state/name_table.h"
#include "UTypes/state/short_string.h"
#include "UTypes/state/token_kind.h"
#include "UTypes/state/token_memo.h"

namespace tindel {

class KeyInput;
class ScreenOutput;
class MediaPlayer;
class MomentHistory;

constexpr int kVarSlots = 751;  // slots 0..750; slot 0 is the search sentinel
constexpr int kLastSlot = 750;
constexpr int kNameMax = 63;          // names and texts of variables, buttons
constexpr int kCallStackSize = 1025;  // entries 0..1024
constexpr int kMaxCalls = 1024;
constexpr int kBlockCells = 2010;
constexpr int kButtonEntries = 26;  // 25 offered plus one spill entry
constexpr int kMaxButtons = 25;

constexpr std::uint8_t kEndOfLine = 0xFF;  // cur_char marker
constexpr std::uint8_t kEndOfFile = 0xFE;

using Name = ShortString<kNameMax>;

// Where the scanner stood: enough to put it back exactly.
struct ReaderMark {
  std::size_t pos = 0;
  std::uint8_t cur_char = 0;
  std::int32_t line_no = 1;
  std::int32_t line_pos = 0;
};

// Where a label search ended, remembered per name for one version of the quest file.
struct LabelHit {
  bool found = false;
  ReaderMark mark;
};

// The labels that hold ":" after their first one, for checks of names that hold ":": the
// text of each (after its first ":", lower-cased, without blanks) and, for every further
// ":" in it, a hash of the text after that ":", so a name is tried only on the labels that
// end as it does.
struct ColonLabels {
  std::vector<std::string> texts;
  std::unordered_multimap<std::uint64_t, std::uint32_t> by_suffix;  // hash -> texts index
};

// A mid-line return point of a `proc` that is not the last statement of its line.
struct ResumePoint {
  bool valid = false;
  std::uint64_t version = 0;
  ReaderMark mark;
};

struct InterpreterState {
  std::uint16_t midi_device = 0;
  KeyInput* con_in = nullptr;
  ScreenOutput* con_out = nullptr;
  std::uint8_t text_attr = 7;
  QuestFile quest_file;
  QuestFile aux_file;  // the quest opened a second time for label searches
  std::FILE* log_file = nullptr;
  std::array<ShortString<7>, kTokenKinds> token_names{};
  NameTable<kVarSlots, kNameMax> var_names{};
  std::array<double, kVarSlots> var_values{};
  std::array<std::int32_t, kCallStackSize> call_stack{};
  std::array<std::uint8_t, kBlockCells> block_chars{};
  std::array<std::uint8_t, kBlockCells> block_colours{};
  std::array<Name, kButtonEntries> btn_captions{};
  std::array<Name, kButtonEntries> btn_labels{};
  std::string quest_name = "stackle.qst";
  std::string current_label;
  std::string common_name = "common";
  std::string token_text;
  std::string str_result;
  std::string str_second;
  std::int32_t syntax_level = 0;
  std::int32_t block_count = 0;
  std::int32_t btn_count = 0;
  std::int32_t call_depth = 0;
  std::int32_t var_boundary = kVarSlots;
  std::int32_t line_pos = 0;
  std::int32_t line_no = 1;
  TokenKind token_kind = TokenKind::Unknown;
  double number_value = 0.0;
  double number_fraction = 0.0;
  std::uint8_t cur_char = 0;
  std::uint8_t last_key = 0;
  bool codepage_w = true;
  bool qs1_file = false;
  bool log_on = false;
  std::int32_t block_column = 0;
  std::int32_t block_lines = 0;

  // Beyond the shared record: the platform services and the speed-ups that keep a jump
  // from reading the quest again.
  MediaPlayer* media = nullptr;
  std::mt19937 random;                                   // draws of `rnd`
  std::unordered_map<std::string, LabelHit> jump_cache;  // gotolabel, per name
  FoundLabels label_check_cache;                         // exact findlabel, per name
  ColonLabels colon_labels;                              // beside label_check_cache
  std::uint64_t cache_version = 0;                       // image version the caches hold
  std::array<ResumePoint, kCallStackSize> resume_points{};
  bool direct_reads = false;      // tests: search and return by reading, without caches
  std::uint64_t label_reads = 0;  // jumps and checks that had to read the quest to a label
  TokenMemo token_memo;           // tokens of places read again and again in play
  // The locale's charset: the quest name was typed in it and media files are named in it.
  Charset charset{CharsetKind::kCp866};
  std::int32_t expression_depth = 0;  // open expressions (NestingGuard)
  std::int32_t text_depth = 0;        // open texts
  std::int32_t menu_depth = 0;        // menus re-entered from use actions
  std::int64_t statements_left = -1;  // statements a run may still execute; -1: no limit
  // The accessible mode: the menu's entries are numbered and the highlighted one marked, and
  // the digits 1 to 9 choose.
  bool accessible = false;
  MomentHistory* moments = nullptr;  // Back's moments; none: Back and restart are off

  // The authors' tools: a watcher of the check run, and where the current token began (kept
  // only while a watcher is set).
  CheckObserver* check_observer = nullptr;
  SourcePlace token_start;
};

// Counts `work` statements at once against a bounded run's limit, for a statement that does as
// much work as that many (a save writes a line per slot).
inline void spend_statements(InterpreterState& s, std::int64_t work) {
  if (s.statements_left > 0)
    s.statements_left = std::max<std::int64_t>(s.statements_left - work, 0);
}

}  // namespace tindel
