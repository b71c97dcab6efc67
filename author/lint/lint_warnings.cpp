#include "author/lint/lint_warnings.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "author/index_builder.h"
#include "author/lint/media_names.h"

namespace tindel::author {

namespace {

using K = TokenKind;

std::string quoted(std::string_view name) {
  std::string text;
  text.reserve(name.size() + 2);
  text.push_back('\'');
  text.append(name);
  text.push_back('\'');
  return text;
}

void warn(std::vector<Problem>& out, int line, int column, std::string message) {
  out.push_back(Problem{line, std::max(1, column), Severity::warning, std::move(message)});
}

bool all_digits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool after_label(const SeenStatement& st, const Location& loc) {
  return st.start.line > loc.place.line ||
         (st.start.line == loc.place.line && st.start.column > loc.place.column);
}

// The first and the last statement of a line that does something.
struct LineEnds {
  int line = 0;
  K first = K::Unknown;
  K last = K::Unknown;
};

// What closing a location depends on: its last two lines.
struct LocationTail {
  LineEnds last;
  LineEnds before_last;
  int lines = 0;

  void add(const SeenStatement& st) {
    if (lines == 0 || last.line != st.start.line) {
      before_last = last;
      last = LineEnds{st.start.line, st.kind, st.kind};
      ++lines;
    }
    last.last = st.kind;
  }
};

// The tails of every location, in one sweep over the statements (which the check saw in file
// order).
std::vector<LocationTail> tails_by_location(const QuestFacts& facts) {
  const auto& locations = facts.index.locations;
  std::vector<LocationTail> tails(locations.size());
  std::size_t loc = 0;
  for (const SeenStatement& st : facts.record.statements) {
    if (is_separator_only(st)) continue;
    while (loc + 1 < locations.size() && after_label(st, locations[loc + 1]))
      ++loc;
    if (loc < locations.size() && after_label(st, locations[loc])) tails[loc].add(st);
  }
  return tails;
}

bool ends_with_jump(const LineEnds& line) {
  return line.last == K::End || line.last == K::Goto;
}

// A location is closed when its last line leaves it for sure: an `end` or `goto` that no `if`
// governs, or an `if` line and the `else` line after it that both leave.
bool closed(const LocationTail& tail) {
  K first = tail.last.first;
  if (first == K::If) return false;
  if (first != K::Else) return ends_with_jump(tail.last);
  if (tail.lines < 2) return false;
  return ends_with_jump(tail.last) && tail.before_last.first == K::If &&
         ends_with_jump(tail.before_last);
}

std::unordered_set<std::string_view> labels_named(const QuestIndex& index) {
  std::unordered_set<std::string_view> names;
  for (const Location& loc : index.locations)
    names.insert(loc.label);
  return names;
}

// What the quest's names may be taken for, by the kind of read.
bool read_satisfied(const std::string& key, const QuestIndex& index,
                    const std::unordered_set<std::string_view>& labels) {
  static const std::set<std::string> system = {
      "styletextcolor", "stylebuttoncolor", "stylecursorcolor", "image", "common",
      "%sys",           "%current_loc"};
  if (system.count(key) || index.assignments.count(key)) return true;
  if (key[0] == ';' || key[0] == '%') return false;
  return labels.count(key) || index.assignments.count(";" + key) ||
         index.assignments.count("%" + key);
}

// "" for a number, ";" for an item, "%" for a string.
std::string kind_prefix(const std::string& key) {
  return key[0] == ';' || key[0] == '%' ? key.substr(0, 1) : std::string();
}

// The assigned name of the same kind nearest to `key` (without its prefix), when it is near
// enough to be a slip.
std::string nearest_assigned(const std::string& key, const QuestIndex& index) {
  std::string best;
  std::size_t best_distance = 3;
  std::string prefix = kind_prefix(key);
  for (const auto& [name, places] : index.assignments) {
    if (kind_prefix(name) != prefix) continue;
    std::size_t d = edit_distance(name, key);
    if (d < best_distance && d < key.size() - prefix.size()) {
      best = name.substr(prefix.size());
      best_distance = d;
    }
  }
  return best;
}

std::string unassigned_message(const std::string& key, const std::string& suggestion) {
  std::string hint = suggestion.empty() ? "" : "; did you mean " + quoted(suggestion) + "?";
  if (key[0] == ';') return "item " + quoted(key.substr(1)) + " is tested but never given" + hint;
  if (key[0] == '%')
    return "string variable " + quoted(key.substr(1)) + " is substituted but never set by instr" +
           hint;
  return "variable " + quoted(key) + " is read but never assigned (it always reads 0)" + hint;
}

}  // namespace

std::size_t edit_distance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j)
    row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

bool uses_system_word(const QuestIndex& index) {
  return index.assignments.count("%sys") != 0;
}

void warn_duplicate_labels(const QuestFacts& facts, std::vector<Problem>& out) {
  std::unordered_map<std::string_view, const Location*> first;
  for (const Location& loc : facts.index.locations) {
    auto [it, fresh] = first.try_emplace(loc.label, &loc);
    if (fresh) continue;
    const Location& earlier = *it->second;
    warn(out, earlier.place.line, earlier.place.column,
         "label " + quoted(loc.label) + " is defined again at line " +
             std::to_string(loc.place.line));
    warn(out, loc.place.line, loc.place.column,
         "label " + quoted(loc.label) + " is already defined at line " +
             std::to_string(earlier.place.line) + "; this one is never reached");
  }
}

std::vector<std::size_t> falling_locations(const QuestFacts& facts) {
  std::vector<std::size_t> falling;
  std::vector<LocationTail> tails = tails_by_location(facts);
  for (std::size_t i = 0; i + 1 < tails.size(); ++i)
    if (tails[i].lines > 0 && !closed(tails[i])) falling.push_back(i);
  return falling;
}

// "common" or "common_<n>": the names the common location can have.
bool is_common_label(std::string_view label) {
  constexpr std::string_view kNumbered = "common_";
  return label == "common" ||
         (label.starts_with(kNumbered) && all_digits(label.substr(kNumbered.size())));
}

// The last location does not close, so play runs off the end of the quest there, which ends
// the game: meant, perhaps, for a last scene, but never for a common location.
bool common_runs_off_end(const QuestFacts& facts) {
  const auto& locations = facts.index.locations;
  if (locations.empty() || !is_common_label(locations.back().label)) return false;
  return !closed(tails_by_location(facts).back());
}

QuestFacts quest_facts(const CheckRecord& record, const QuestIndex& index, std::string_view bytes,
                       const std::string& quest_dir) {
  QuestFacts facts{record, index, bytes, quest_dir};
  facts.falling = falling_locations(facts);
  facts.common_runs_off_end = common_runs_off_end(facts);
  return facts;
}

void warn_common_off_end(const QuestFacts& facts, std::vector<Problem>& out) {
  if (!facts.common_runs_off_end) return;
  const Location& common = facts.index.locations.back();
  warn(out, common.place.line, common.place.column,
       "common location " + quoted(common.label) +
           " has no end or goto: it runs off the end of the quest, which ends the game at "
           "every choice that runs it");
}

void warn_fall_through(const QuestFacts& facts, std::vector<Problem>& out) {
  const auto& locations = facts.index.locations;
  for (std::size_t i : facts.falling)
    warn(out, locations[i].place.line, locations[i].place.column,
         "location " + quoted(locations[i].label) + " has no end or goto: it runs into label " +
             quoted(locations[i + 1].label) + " at line " +
             std::to_string(locations[i + 1].place.line));
}

std::unordered_set<std::string_view> reached_labels(const QuestFacts& facts) {
  const QuestIndex& index = facts.index;
  std::unordered_set<std::string_view> reached;
  if (!index.locations.empty()) reached.insert(index.locations.front().label);
  for (const Link& link : index.links)
    reached.insert(link.label);
  bool any_end = std::any_of(facts.record.statements.begin(), facts.record.statements.end(),
                             [](const SeenStatement& st) { return st.kind == K::End; });
  if (any_end) reached.insert("common");
  for (std::size_t i : facts.falling)
    reached.insert(index.locations[i + 1].label);
  return reached;
}

void warn_unreachable_locations(const QuestFacts& facts, std::vector<Problem>& out) {
  const QuestIndex& index = facts.index;
  if (uses_system_word(index)) return;
  std::unordered_set<std::string_view> reached = reached_labels(facts);
  std::unordered_set<std::string_view> told;
  for (const Location& loc : index.locations) {
    if (reached.count(loc.label) || !told.insert(loc.label).second) continue;
    warn(out, loc.place.line, loc.place.column,
         "location " + quoted(loc.label) +
             " is never reached: no btn, goto, proc, common location or use action names it");
  }
}

void warn_unassigned_reads(const QuestFacts& facts, std::vector<Problem>& out) {
  const QuestIndex& index = facts.index;
  if (uses_system_word(index)) return;
  std::unordered_set<std::string_view> labels = labels_named(index);
  for (const auto& [key, places] : index.reads) {
    if (key.empty() || read_satisfied(key, index, labels)) continue;
    std::string message = unassigned_message(key, nearest_assigned(key, index));
    for (const Place& at : places)
      warn(out, at.line, at.column, message);
  }
}

void warn_missing_media(const QuestFacts& facts, std::vector<Problem>& out) {
  for (Problem& p : missing_media(media_named(facts.record), facts.quest_dir))
    out.push_back(std::move(p));
}

void warn_lone_line_feeds(const QuestFacts& facts, std::vector<Problem>& out) {
  std::string_view bytes = facts.bytes;
  if (bytes.find("\r\n") == std::string_view::npos) return;
  std::vector<std::size_t> starts;  // counted only when there is something to tell
  std::size_t line = 0;
  for (std::size_t i = bytes.find('\n'); i != std::string_view::npos; i = bytes.find('\n', i + 1)) {
    if (i > 0 && bytes[i - 1] == '\r') continue;
    if (starts.empty()) starts = scanner_line_starts(bytes);
    while (line + 1 < starts.size() && starts[line + 1] <= i)
      ++line;
    warn(out, static_cast<int>(line + 1), static_cast<int>(i - starts[line] + 1),
         "line end LF without CR in a CR LF file: this line and the next are read as one");
  }
}

}  // namespace tindel::author
