#include <fstream>
#include <ostream>

#include "author/commands.h"
#include "author/map/map.h"

namespace tindel::author {

namespace {

constexpr const char* kMapUsage =
    "usage: tindel-author map [--codepage w|d|u] [-o FILE.svg|FILE.png|FILE.dot] FILE";

struct MapRequest {
  LintOptions options;
  std::string output;
  std::string quest;
};

bool parse_map_arguments(const Arguments& args, MapRequest& request, std::ostream& err) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if ((a == "-o" || a == "--codepage") && i + 1 >= args.size()) break;
    if (a == "-o") {
      request.output = args[++i];
    } else if (a == "--codepage") {
      const std::string& v = args[++i];
      if (v != "w" && v != "d" && v != "u") {
        err << "tindel-author: unknown code page '" << v << "' (w, d or u)\n";
        return false;
      }
      request.options.codepage = v[0];
    } else if (a.starts_with("-") || !request.quest.empty()) {
      err << kMapUsage << '\n';
      return false;
    } else {
      request.quest = a;
    }
  }
  if (request.quest.empty()) err << kMapUsage << '\n';
  return !request.quest.empty();
}

// "svg", "png" or "dot" by the output's name; empty for any other.
std::string format_of(const std::string& output) {
  for (const char* ext : {"svg", "png", "dot"})
    if (output.ends_with(std::string(".") + ext)) return ext;
  return {};
}

}  // namespace

int map_command(const Arguments& args, std::ostream& out, std::ostream& err) {
  MapRequest request;
  if (!parse_map_arguments(args, request, err)) return kStatusUsage;
  std::string format = request.output.empty() ? "dot" : format_of(request.output);
  if (format.empty()) {
    err << "tindel-author: " << request.output << ": the map is written as .svg, .png or .dot\n";
    return kStatusUsage;
  }
  std::string bytes;
  if (!read_whole_file(request.quest, bytes)) {
    err << "tindel-author: " << request.quest << ": cannot be read\n";
    return kStatusUsage;
  }
  request.options.qs1 = is_qs1_name(request.quest);
  std::string dot = quest_map_dot(bytes, request.options);
  if (request.output.empty()) {
    out << dot;
    return kStatusClean;
  }
  if (format == "dot") {
    std::ofstream file(request.output, std::ios::binary);
    if (!(file << dot)) {
      err << "tindel-author: " << request.output << ": cannot be written\n";
      return kStatusUsage;
    }
    return kStatusClean;
  }
  std::string reason;
  if (!render_dot(dot, format, request.output, reason)) {
    err << "tindel-author: " << request.output << ": " << reason << '\n';
    return kStatusUsage;
  }
  return kStatusClean;
}

}  // namespace tindel::author
