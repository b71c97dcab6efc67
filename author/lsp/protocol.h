#pragma once
// The protocol's small records (positions, ranges, locations) between JSON and the quest's
// own countings, and strict reading of request parameters.
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "author/lsp/position_map.h"
#include "author/quest_index.h"

namespace tindel::author::lsp {

using nlohmann::json;

// The member of an object, or invalid_params when it is missing or of the wrong type.
const json& member(const json& object, std::string_view name);
std::string string_member(const json& object, std::string_view name);
EditorPosition position_from_json(const json& position);

json position_json(EditorPosition position);
json range_json(EditorPosition start, EditorPosition end);
// The range a place of the quest index covers in the editor.
json place_range(const PositionMap& positions, const Place& place);
json location_json(const std::string& uri, const PositionMap& positions, const Place& place);

}  // namespace tindel::author::lsp
