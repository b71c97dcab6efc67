#pragma once
// The quest as a graph in Graphviz DOT: a node per location, an arrow per button (solid, with
// its caption), goto (dashed), proc (dotted) and use action (bold); the start, the common
// location, dead ends and unreachable locations marked.
#include <string>
#include <string_view>

#include "author/lint/lint.h"

namespace tindel::author {

std::string quest_map_dot(std::string_view quest_bytes, const LintOptions& options);

// Renders DOT through Graphviz's `dot` into `output` (format "svg" or "png"); false with a
// reason when it cannot.
bool render_dot(const std::string& dot, const std::string& format, const std::string& output,
                std::string& reason);

}  // namespace tindel::author
