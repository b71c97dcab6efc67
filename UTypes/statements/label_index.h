#pragma once
// Where the quest's labels are, gathered in one reading of the quest, so that jumps and
// label checks after the first one read nothing. Every answer is the one a search by
// reading would give; where a jump's cannot be known (a CR without its LF, a byte that reads
// as the end of the quest, a name holding ":"), the jump searches by reading.
#include <cstddef>
#include <cstdint>
#include <string>

#include "UTypes/state/interpreter_state.h"

namespace tindel {

// The key under which jump_cache notes that it holds every label of the quest; no label name
// holds a blank, so none is ever looked up under it.
extern const std::string kGatheredMark;

// One character of aux_file through the quest's conversions; false at its end.
bool aux_read(InterpreterState& s, std::uint8_t& c);

// The characters that end a label as the auxiliary reader sees them: CR, ";" and "&".
bool ends_label(std::uint8_t c);

// Whether reading the quest from `from` to `to` meets a character that reads as the end.
bool end_marker_between(const InterpreterState& s, std::size_t from, std::size_t to);

// Puts the reader where a jump to `name` ends, when that is known without reading; false
// when the quest must be read.
bool jump_to_known_label(InterpreterState& s, const std::string& name);

// Gathers the names that label checks find, at the first check; false when they do not fit
// in the table, and the checks read the quest instead.
bool found_labels_ready(InterpreterState& s);

// Whether an exact label search would find `name` (syntax level 2), once found_labels_ready;
// names holding ":" too, each tried only on the labels that end as it does.
bool indexed_label_exists(InterpreterState& s, const std::string& name);

}  // namespace tindel
