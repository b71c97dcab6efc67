#include "author/index_builder.h"

#include <algorithm>
#include <set>

#include "UTypes/statements/parser.h"

namespace tindel::author {

namespace {

using K = TokenKind;

bool is_separator(K kind) {
  return kind == K::Newline || kind == K::Amp || kind == K::Eof;
}

Place place_of(SourcePlace at, std::size_t length) {
  return Place{at.line, at.column, static_cast<int>(length)};
}

std::string first_line(const std::string& text) {
  std::string line = text.substr(0, text.find_first_of("\r\n"));
  std::size_t a = line.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  return line.substr(a, line.find_last_not_of(' ') - a + 1);
}

bool before(SourcePlace a, SourcePlace b) {
  return a.line < b.line || (a.line == b.line && a.column < b.column);
}

std::vector<Location> locations_of(const CheckRecord& record) {
  std::vector<Location> locations;
  for (std::size_t i = 0; i < record.labels.size(); ++i) {
    const LabelLine& label = record.labels[i];
    int end =
        i + 1 < record.labels.size() ? record.labels[i + 1].place.line - 1 : record.line_count;
    locations.push_back({to_utf8(label.name),
                         place_of(label.place, static_cast<std::size_t>(label.length)),
                         {},
                         std::max(end, label.place.line)});
  }
  // The first printed text of each location, for maps and hovers.
  std::size_t next = 0;
  for (const SeenStatement& st : record.statements) {
    if (st.kind != K::P && st.kind != K::Pln) continue;
    while (next < locations.size() && st.start.line > locations[next].end_line)
      ++next;
    if (next >= locations.size()) break;
    Location& loc = locations[next];
    SourcePlace label{loc.place.line, loc.place.column};
    if (before(st.start, label) || !loc.first_text.empty()) continue;
    loc.first_text = to_utf8(first_line(record.result_of(st)));
  }
  return locations;
}

void add_label_link(QuestIndex& index, const CheckRecord& record, const SeenStatement& st,
                    LinkKind kind) {
  auto tokens = record.tokens_of(st);
  if (tokens.empty() || tokens[0].text.empty()) return;
  const SeenToken& label = tokens[0];
  index.links.push_back({to_utf8(label.text), place_of(label.start, label.text.size()), kind,
                         kind == LinkKind::button ? to_utf8(record.result_of(st)) : std::string()});
}

bool is_link(const SeenStatement& st) {
  return st.kind == K::Btn || st.kind == K::Goto || st.kind == K::Proc || st.kind == K::Common;
}

void add_links(QuestIndex& index, const CheckRecord& record) {
  index.links.reserve(static_cast<std::size_t>(
      std::count_if(record.statements.begin(), record.statements.end(), is_link)));
  // A link whose label is missing is still a link: the map and the editor show it.
  for (const SeenStatement& st : record.statements) {
    if (st.kind == K::Btn) add_label_link(index, record, st, LinkKind::button);
    if (st.kind == K::Goto) add_label_link(index, record, st, LinkKind::jump);
    if (st.kind == K::Proc) add_label_link(index, record, st, LinkKind::call);
    if (st.kind == K::Common && !st.failed)
      index.links.push_back(
          {to_utf8(record.result_of(st)), place_of(st.start, 6), LinkKind::common, {}});
  }
}

// The menu offers "use_<item>..." labels for every item held: a use action from each place
// that gives such an item.
void add_use_links(QuestIndex& index) {
  std::vector<Link> uses;
  for (const Location& loc : index.locations) {
    if (!loc.label.starts_with("use_")) continue;
    for (const auto& [key, places] : index.assignments) {
      if (key.empty() || key[0] != ';' || !loc.label.starts_with("use_" + key.substr(1))) continue;
      for (const Place& at : places)
        uses.push_back({loc.label, at, LinkKind::use_action, {}});
    }
  }
  index.links.insert(index.links.end(), uses.begin(), uses.end());
}

// Which lookups of a statement write the variable rather than read it.
bool writes(const SeenStatement& st, const std::string& key, bool& first_string) {
  if (is_assignment(st)) {
    bool item = st.text.starts_with("inv_");
    std::string_view name = std::string_view(st.text).substr(item ? 4 : 0);
    return key[0] == (item ? ';' : '$') && std::string_view(key).substr(1) == name.substr(0, 62);
  }
  if (st.kind == K::Inv) return key[0] == ';';
  if (st.kind == K::Anykey) return key[0] == '$';
  if (st.kind == K::Instr && key[0] == '%' && first_string) {
    first_string = false;
    return true;
  }
  return false;
}

// Places gathered by the number of the variable table's key, turned into the index's names
// once per name.
using PlacesByKey = std::vector<std::vector<Place>>;

void move_into(const CheckRecord& record, PlacesByKey& gathered,
               std::map<std::string, std::vector<Place>>& to) {
  for (std::size_t key = 0; key < gathered.size(); ++key) {
    if (gathered[key].empty()) continue;
    auto& target = to[index_key(to_utf8(record.keys[key]))];
    if (target.empty()) {
      target = std::move(gathered[key]);
    } else {
      target.insert(target.end(), gathered[key].begin(), gathered[key].end());
    }
  }
}

void add_variables(QuestIndex& index, const CheckRecord& record) {
  PlacesByKey assigned(record.keys.size()), read(record.keys.size());
  std::size_t statement = SIZE_MAX;
  bool first_string = true;
  for (const SeenLookup& look : record.lookups) {
    const SeenStatement& st = record.statements[look.statement];
    if (look.statement != statement) first_string = true;
    statement = look.statement;
    const std::string& key = record.key_of(look);
    if (key.empty() || st.kind == K::End || st.kind == K::Perkill || st.kind == K::Invkill)
      continue;
    bool write = writes(st, key, first_string);
    Place at = write && is_assignment(st) ? place_of(st.start, st.text.size())
                                          : Place{look.place.line, look.place.column, look.length};
    (write ? assigned : read)[look.key].push_back(at);
  }
  move_into(record, assigned, index.assignments);
  move_into(record, read, index.reads);
  // input NAME: at a check nothing is looked up, but the name is assigned.
  for (const SeenStatement& st : record.statements) {
    auto tokens = record.tokens_of(st);
    if (st.kind == K::Input && !st.failed && !tokens.empty() && !tokens[0].text.empty())
      index.assignments[to_utf8(tokens[0].text)].push_back(
          place_of(tokens[0].start, tokens[0].text.size()));
  }
}

}  // namespace

bool is_separator_only(const SeenStatement& st) {
  return is_separator(st.kind) && st.text.empty();
}

bool is_assignment(const SeenStatement& st) {
  if (st.text.empty()) return false;
  return is_separator(st.kind) || !begins_statement(st.kind);
}

std::string index_key(std::string_view table_key) {
  if (!table_key.empty() && table_key[0] == '$') return std::string(table_key.substr(1));
  return std::string(table_key);
}

namespace {

bool link_before(const Link& a, const Link& b) {
  return a.place.line != b.place.line ? a.place.line < b.place.line
                                      : a.place.column < b.place.column;
}

}  // namespace

QuestIndex index_from_record(const CheckRecord& record) {
  QuestIndex index;
  index.locations = locations_of(record);
  add_links(index, record);
  // The statements' links come in file order; the use actions are put in among them.
  auto uses = static_cast<std::ptrdiff_t>(index.links.size());
  add_variables(index, record);
  add_use_links(index);
  auto middle = index.links.begin() + uses;
  std::stable_sort(middle, index.links.end(), link_before);
  std::inplace_merge(index.links.begin(), middle, index.links.end(), link_before);
  return index;
}

QuestIndex index_quest(std::string_view quest_bytes, const LintOptions& options) {
  return index_from_record(run_check(prepare_quest(quest_bytes, options)));
}

}  // namespace tindel::author
