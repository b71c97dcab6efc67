#include "author/index_builder.h"

#include <algorithm>
#include <set>

namespace tindel::author {

namespace {

using K = TokenKind;

bool is_separator(K kind) {
  return kind == K::Newline || kind == K::Amp || kind == K::Eof;
}

// The keywords that begin a statement of their own; any other token after a name assigns.
bool begins_statement(K kind) {
  switch (kind) {
    case K::P:
    case K::Pln:
    case K::Btn:
    case K::If:
    case K::Else:
    case K::Goto:
    case K::Proc:
    case K::End:
    case K::Pause:
    case K::Anykey:
    case K::Inv:
    case K::Instr:
    case K::Input:
    case K::Invkill:
    case K::Perkill:
    case K::Save:
    case K::Cls:
    case K::Common:
    case K::Music:
    case K::Play:
      return true;
    default:
      return false;
  }
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
    loc.first_text = to_utf8(first_line(st.result));
  }
  return locations;
}

void add_label_link(QuestIndex& index, const SeenStatement& st, LinkKind kind) {
  if (st.tokens.empty() || st.tokens[0].text.empty()) return;
  const SeenToken& label = st.tokens[0];
  index.links.push_back({to_utf8(label.text), place_of(label.start, label.text.size()), kind,
                         kind == LinkKind::button ? to_utf8(st.caption) : std::string()});
}

void add_links(QuestIndex& index, const CheckRecord& record) {
  for (const SeenStatement& st : record.statements) {
    if (st.failed) continue;
    if (st.kind == K::Btn) add_label_link(index, st, LinkKind::button);
    if (st.kind == K::Goto) add_label_link(index, st, LinkKind::jump);
    if (st.kind == K::Proc) add_label_link(index, st, LinkKind::call);
    if (st.kind == K::Common)
      index.links.push_back(
          {to_utf8(st.common_after), place_of(st.start, 6), LinkKind::common, {}});
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
bool writes(const SeenStatement& st, const SeenLookup& look, bool& first_string) {
  if (is_assignment(st)) {
    std::string target = st.text.starts_with("inv_") ? ";" + st.text.substr(4) : "$" + st.text;
    return look.key == target.substr(0, 63);
  }
  if (st.kind == K::Inv) return look.key[0] == ';';
  if (st.kind == K::Anykey) return look.key[0] == '$';
  if (st.kind == K::Instr && look.key[0] == '%' && first_string) {
    first_string = false;
    return true;
  }
  return false;
}

void add_variables(QuestIndex& index, const CheckRecord& record) {
  std::size_t statement = SIZE_MAX;
  bool first_string = true;
  for (const SeenLookup& look : record.lookups) {
    const SeenStatement& st = record.statements[look.statement];
    if (look.statement != statement) first_string = true;
    statement = look.statement;
    if (look.key.empty() || st.kind == K::End || st.kind == K::Perkill || st.kind == K::Invkill)
      continue;
    bool write = writes(st, look, first_string);
    Place at = write && is_assignment(st) ? place_of(st.start, st.text.size())
                                          : Place{look.place.line, look.place.column, look.length};
    (write ? index.assignments : index.reads)[index_key(to_utf8(look.key))].push_back(at);
  }
  // input NAME: at a check nothing is looked up, but the name is assigned.
  for (const SeenStatement& st : record.statements)
    if (st.kind == K::Input && !st.failed && !st.tokens.empty() && !st.tokens[0].text.empty())
      index.assignments[to_utf8(st.tokens[0].text)].push_back(
          place_of(st.tokens[0].start, st.tokens[0].text.size()));
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

QuestIndex index_from_record(const CheckRecord& record) {
  QuestIndex index;
  index.locations = locations_of(record);
  add_links(index, record);
  add_variables(index, record);
  add_use_links(index);
  std::stable_sort(index.links.begin(), index.links.end(), [](const Link& a, const Link& b) {
    return a.place.line != b.place.line ? a.place.line < b.place.line
                                        : a.place.column < b.place.column;
  });
  return index;
}

QuestIndex index_quest(std::string_view quest_bytes, const LintOptions& options) {
  return index_from_record(run_check(prepare_quest(quest_bytes, options)));
}

}  // namespace tindel::author
