#include "author/lsp/symbol_names.h"

#include "UTypes/charset/codepage.h"
#include "UTypes/charset/cp866.h"

namespace tindel::author::lsp {

VariableKind variable_kind(std::string_view key) {
  if (!key.empty() && key[0] == '%') return VariableKind::text;
  if (!key.empty() && key[0] == ';') return VariableKind::item;
  return VariableKind::number;
}

std::string_view bare_name(std::string_view key) {
  if (variable_kind(key) != VariableKind::number || (!key.empty() && key[0] == '$')) {
    key.remove_prefix(1);
  }
  return key;
}

std::string describe_variable(std::string_view key) {
  const char* kinds[] = {"variable ", "string variable ", "item "};
  return kinds[static_cast<int>(variable_kind(key))] + std::string(bare_name(key));
}

std::string fold_name(std::string_view name) {
  std::string out;
  while (!name.empty()) {
    Utf8Step step = decode_utf8(name);
    std::optional<std::uint8_t> byte = cp866_from_unicode(step.code_point);
    append_utf8(out, byte ? cp866_glyph(lowcase(*byte)) : step.code_point);
    name.remove_prefix(step.length > 0 ? step.length : 1);
  }
  return out;
}

}  // namespace tindel::author::lsp
