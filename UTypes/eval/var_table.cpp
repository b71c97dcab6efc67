#include "UTypes/eval/var_table.h"

#include <cmath>

#include "UTypes/diagnostics/report.h"

namespace tindel {

bool is_text_slot_of_string_variable(const InterpreterState& s, int i) {
  if (s.var_values[static_cast<std::size_t>(i)] == 0.0) return false;
  int owner = text_slot_of(s, i);
  return owner > 0 && owner != i &&
         s.var_names[static_cast<std::size_t>(owner)].view().starts_with('%') &&
         text_slot_of(s, owner) == i;
}

namespace {

bool may_name_a_text(std::string_view key) {
  return !key.empty() && (key[0] == '$' || key[0] == ';');
}

// The slot the index finds, or with direct reads (tests) the one a scan of the names finds.
int find_below(const InterpreterState& s, int below, const NameProbe& probe) {
  if (!s.direct_reads) return s.var_names.find_below(below, probe);
  int i = below;
  do {
    --i;
  } while (s.var_names[static_cast<std::size_t>(i)].view() != probe.key());
  return i;
}

}  // namespace

int getvar(InterpreterState& s, std::string_view key) {
  if (key.size() > kNameMax) key = key.substr(0, kNameMax);
  if (s.check_observer) [[unlikely]]
    s.check_observer->lookup(s, key);
  s.var_names[0] = key;
  const NameProbe probe(key);
  int i = find_below(s, kVarSlots, probe);
  while (i != 0 && may_name_a_text(key) && is_text_slot_of_string_variable(s, i))
    i = find_below(s, i, probe);
  if (i != 0 && !key.empty()) return i;

  s.var_values[0] = 0.0;
  i = s.var_boundary;
  do {
    --i;
  } while (s.var_values[static_cast<std::size_t>(i)] != 0.0);
  if (i == 0) reporterror(s, "[prog] VAR TABLE OUT");
  s.var_names[static_cast<std::size_t>(i)] = key;
  s.var_values[static_cast<std::size_t>(i)] = 0.0;
  return i;
}

double& var_value(InterpreterState& s, std::string_view key) {
  return s.var_values[static_cast<std::size_t>(getvar(s, key))];
}

int text_slot_of(const InterpreterState& s, int v) {
  if (v < 0 || v > kLastSlot) return -1;
  double target = std::trunc(static_cast<double>(v) + s.var_values[static_cast<std::size_t>(v)]);
  if (!(target >= 0.0 && target <= static_cast<double>(kLastSlot))) return -1;  // NaN too
  return static_cast<int>(target);
}

std::string string_variable_text(InterpreterState& s, std::string_view name) {
  std::string key(1, '%');
  key.append(name);
  int v = getvar(s, key);
  if (s.var_values[static_cast<std::size_t>(v)] == 0.0) return {};
  int t = text_slot_of(s, v);
  return t < 0 ? std::string() : s.var_names[static_cast<std::size_t>(t)].str();
}

int ensure_text_slot(InterpreterState& s, int v) {
  auto& value = s.var_values[static_cast<std::size_t>(v)];
  if (value == 0.0) {
    value = 1.0;  // keeps the next allocation off slot v
    int w = getvar(s, "");
    value = static_cast<double>(w - v);
    s.var_values[static_cast<std::size_t>(w)] = static_cast<double>(v - w);
  }
  return text_slot_of(s, v);
}

void create_system_variables(InterpreterState& s) {
  for (int i = kLastSlot; i >= 0; --i) {
    s.var_names[static_cast<std::size_t>(i)].clear();
    s.var_values[static_cast<std::size_t>(i)] = 0.0;
  }
  s.var_boundary = kVarSlots;
  struct SystemVariable {
    const char* key;
    double value;
  };
  static constexpr SystemVariable system[] = {{"%sys", 0.0},
                                              {"$styletextcolor", 7.0},
                                              {"$stylebuttoncolor", 7.0},
                                              {"$stylecursorcolor", 126.0},
                                              {"$image", 0.0},
                                              {"$common", 0.0},
                                              {"%current_loc", 0.0}};
  for (const auto& var : system) {
    int slot = getvar(s, var.key);
    if (var.key[0] == '%') {
      ensure_text_slot(s, slot);
    } else {
      s.var_values[static_cast<std::size_t>(slot)] = var.value;
    }
    s.var_boundary = slot;
  }
}

}  // namespace tindel
