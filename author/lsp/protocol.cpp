#include "author/lsp/protocol.h"

#include "author/lsp/rpc_error.h"

namespace tindel::author::lsp {

const json& member(const json& object, std::string_view name) {
  if (!object.is_object()) throw RpcError(error_code::invalid_params, "parameters not an object");
  auto it = object.find(name);
  if (it == object.end()) {
    throw RpcError(error_code::invalid_params, "missing \"" + std::string(name) + "\"");
  }
  return *it;
}

std::string string_member(const json& object, std::string_view name) {
  const json& value = member(object, name);
  if (!value.is_string()) {
    throw RpcError(error_code::invalid_params, "\"" + std::string(name) + "\" not a string");
  }
  return value.get<std::string>();
}

EditorPosition position_from_json(const json& position) {
  const json& line = member(position, "line");
  const json& character = member(position, "character");
  if (!line.is_number_integer() || !character.is_number_integer()) {
    throw RpcError(error_code::invalid_params, "a position needs whole numbers");
  }
  return {line.get<int>(), character.get<int>()};
}

json position_json(EditorPosition position) {
  return {{"line", position.line}, {"character", position.character}};
}

json range_json(EditorPosition start, EditorPosition end) {
  return {{"start", position_json(start)}, {"end", position_json(end)}};
}

json place_range(const PositionMap& positions, const Place& place) {
  QuestPosition start{place.line, place.column};
  return range_json(positions.to_editor(start), positions.to_editor(start, place.length));
}

json location_json(const std::string& uri, const PositionMap& positions, const Place& place) {
  return {{"uri", uri}, {"range", place_range(positions, place)}};
}

}  // namespace tindel::author::lsp
