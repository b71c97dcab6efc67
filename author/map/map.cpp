#include "author/map/map.h"

#include <map>
#include <set>

#include "author/check_run.h"
#include "author/index_builder.h"
#include "author/lint/lint_warnings.h"

namespace tindel::author {

namespace {

constexpr std::size_t kTextShown = 40;  // longer first lines and captions are cut
constexpr const char* kTopNode = "(top of the quest)";

// Beyond this many locations dot's layout would take minutes: captions go beside the arrows
// instead of taking a place in the ranks, and the search for fewer crossings is cut short.
constexpr std::size_t kLargeMap = 60;
constexpr const char* kLargeMapLayout = ", mclimit=0.2, nslimit=2, nslimit1=2";

// A DOT string: quotes and backslashes escaped, a line break as DOT writes it.
std::string dot_quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

// At most kTextShown characters of UTF-8 text, cut between characters.
std::string shortened(const std::string& text) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (++chars > kTextShown) return text.substr(0, i) + "…";
  }
  return text;
}

// The location whose lines hold `line`, or the top of the quest before the first label.
std::string owner_of(const QuestIndex& index, int line) {
  std::string owner = kTopNode;
  for (const Location& loc : index.locations) {
    if (loc.place.line > line) break;
    owner = loc.label;
  }
  return owner;
}

struct NodeMarks {
  bool start = false, common = false, dead_end = false, unreachable = false, missing = false;
};

const char* edge_style(LinkKind kind) {
  switch (kind) {
    case LinkKind::button:
      return "solid";
    case LinkKind::jump:
      return "dashed";
    case LinkKind::call:
      return "dotted";
    case LinkKind::common:
      return "dotted";
    case LinkKind::use_action:
      return "bold";
  }
  return "solid";
}

std::string node_line(const std::string& name, const std::string& text, const NodeMarks& m) {
  std::string label = name;
  std::vector<std::string> notes;
  if (m.start) notes.push_back("start");
  if (m.common) notes.push_back("common location");
  if (m.dead_end) notes.push_back("dead end");
  if (m.unreachable) notes.push_back("unreachable");
  if (m.missing) notes.push_back("missing label");
  for (std::size_t i = 0; i < notes.size(); ++i)
    label += (i ? ", " : " [") + notes[i];
  if (!notes.empty()) label += "]";
  if (!text.empty()) label += "\n" + shortened(text);
  std::string attrs = "label=" + dot_quoted(label);
  if (m.start) attrs += ", peripheries=2, fillcolor=\"#d8f0d0\"";
  if (m.common) attrs += ", fillcolor=\"#d8e4f8\"";
  if (m.dead_end) attrs += ", shape=octagon";
  if (m.unreachable) attrs += ", color=\"#c00000\", fontcolor=\"#c00000\"";
  if (m.missing) attrs += ", shape=plaintext, fontcolor=\"#c00000\"";
  return "  " + dot_quoted(name) + " [" + attrs + "];\n";
}

}  // namespace

std::string quest_map_dot(std::string_view quest_bytes, const LintOptions& options) {
  PreparedQuest quest = prepare_quest(quest_bytes, options);
  CheckRecord record = run_check(quest);
  QuestIndex index = index_from_record(record);
  QuestFacts facts = quest_facts(record, index, quest.bytes(), ".");
  std::unordered_set<std::string_view> reached = reached_labels(facts);
  std::set<std::string> defined, leaving;
  for (const Location& loc : index.locations)
    defined.insert(loc.label);
  bool large = index.locations.size() > kLargeMap;
  for (const Link& link : index.links)
    if (link.kind == LinkKind::button || link.kind == LinkKind::jump)
      leaving.insert(owner_of(index, link.place.line));
  for (std::size_t i : facts.falling)
    leaving.insert(index.locations[i].label);

  std::string dot =
      "digraph quest {\n"
      "  graph [rankdir=TB, fontname=\"sans-serif\", nodesep=0.3, ranksep=0.5" +
      std::string(large ? kLargeMapLayout : "") +
      "];\n"
      "  node [shape=box, style=\"rounded,filled\", fillcolor=white, fontname=\"sans-serif\", "
      "fontsize=10];\n"
      "  edge [fontname=\"sans-serif\", fontsize=9];\n";
  std::set<std::string> drawn;
  for (const Location& loc : index.locations) {
    if (!drawn.insert(loc.label).second) continue;
    NodeMarks m;
    m.start = &loc == &index.locations.front() && owner_of(index, 0) == kTopNode;
    m.common = loc.label == "common" || loc.label.starts_with("common_");
    m.dead_end = !leaving.count(loc.label);
    m.unreachable = !reached.count(loc.label) && !uses_system_word(index);
    dot += node_line(loc.label, loc.first_text, m);
  }
  std::string body;
  for (const Link& link : index.links) {
    std::string from = owner_of(index, link.place.line);
    if (from == kTopNode && !drawn.count(kTopNode)) {
      drawn.insert(kTopNode);
      NodeMarks m;
      m.start = true;
      dot += node_line(kTopNode, {}, m);
    }
    if (!defined.count(link.label) && drawn.insert(link.label).second) {
      NodeMarks m;
      m.missing = true;
      dot += node_line(link.label, {}, m);
    }
    std::string attrs = std::string("style=") + edge_style(link.kind);
    if (!link.caption.empty())
      attrs += (large ? ", xlabel=" : ", label=") + dot_quoted(shortened(link.caption));
    if (link.kind == LinkKind::use_action) attrs += ", color=\"#806000\"";
    body += "  " + dot_quoted(from) + " -> " + dot_quoted(link.label) + " [" + attrs + "];\n";
  }
  // A location that runs into the next label line leads there too.
  for (std::size_t i : facts.falling)
    body += "  " + dot_quoted(index.locations[i].label) + " -> " +
            dot_quoted(index.locations[i + 1].label) +
            " [style=dashed, color=gray50, fontcolor=gray50, label=\"runs on\"];\n";
  return dot + body + "}\n";
}

}  // namespace tindel::author
