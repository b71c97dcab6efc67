#include "UTypes/eval/operand.h"

#include <cstdlib>
#include <string>

#include "UTypes/eval/var_table.h"

namespace tindel {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string key(char prefix, std::string_view name) {
  std::string k(1, prefix);
  k += name;
  return k;
}

// "3apple": true when at least number_value of item apple are held. A plain number reads
// as the last literal.
double number_or_item_test(InterpreterState& s, std::string_view text) {
  double wanted = s.number_value;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (is_digit(text[i]) || text[i] == '.') continue;
    return var_value(s, key(';', text.substr(i))) >= wanted ? 1.0 : 0.0;
  }
  return wanted;
}

// A bare name: the numeric variable, else whether the item is held, else the string
// variable read as a number.
double name_value(InterpreterState& s, std::string_view name) {
  double v = var_value(s, key('$', name));
  if (v == 0.0) v = var_value(s, key(';', name)) > 0.0 ? 1.0 : 0.0;
  if (v == 0.0) v = text_as_number(string_variable_text(s, name));
  return v;
}

std::size_t skip_digits(std::string_view t, std::size_t i) {
  while (i < t.size() && is_digit(t[i])) ++i;
  return i;
}

}  // namespace

bool parse_decimal(std::string_view t, double& value) {
  std::size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  std::size_t start = i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t int_end = skip_digits(t, i);
  bool digits = int_end > i;
  i = int_end;
  if (i < t.size() && t[i] == '.') {
    std::size_t frac_end = skip_digits(t, i + 1);
    digits = digits || frac_end > i + 1;
    i = frac_end;
  }
  if (!digits) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    std::size_t exp_end = skip_digits(t, j);
    if (exp_end == j) return false;
    i = exp_end;
  }
  if (i != t.size()) return false;
  value = std::strtod(std::string(t.substr(start)).c_str(), nullptr);
  return true;
}

double text_as_number(std::string_view t) {
  double v = 0.0;
  return parse_decimal(t, v) ? v : 0.0;
}

double operand_value(InterpreterState& s, std::string_view text) {
  if (is_digit(text[0])) return number_or_item_test(s, text);
  if (text.starts_with("inv_")) return var_value(s, key(';', text.substr(4)));
  if (text.starts_with("count_")) return var_value(s, key('$', text.substr(6)));
  return name_value(s, text);
}

}  // namespace tindel
