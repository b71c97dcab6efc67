#include <nlohmann/json.hpp>
#include <ostream>

#include "author/commands.h"
#include "author/lint/lint.h"

namespace tindel::author {

namespace {

struct LintRequest {
  LintOptions options;
  bool json = false;
  std::vector<std::string> files;
};

constexpr const char* kLintUsage =
    "usage: tindel-author lint [--codepage w|d|u] [--format text|json] FILE...";

// false with a message on err when the command line is wrong.
bool parse_lint_arguments(const Arguments& args, LintRequest& request, std::ostream& err) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool takes_value = a == "--codepage" || a == "--format";
    if (takes_value && i + 1 >= args.size()) {
      err << "tindel-author: " << a << " needs a value\n" << kLintUsage << '\n';
      return false;
    }
    if (a == "--codepage") {
      const std::string& v = args[++i];
      if (v != "w" && v != "d" && v != "u") {
        err << "tindel-author: unknown code page '" << v << "' (w, d or u)\n";
        return false;
      }
      request.options.codepage = v[0];
    } else if (a == "--format") {
      const std::string& v = args[++i];
      if (v != "text" && v != "json") {
        err << "tindel-author: unknown format '" << v << "' (text or json)\n";
        return false;
      }
      request.json = v == "json";
    } else if (a.starts_with("--")) {
      err << "tindel-author: unknown option '" << a << "'\n" << kLintUsage << '\n';
      return false;
    } else {
      request.files.push_back(a);
    }
  }
  if (request.files.empty()) err << kLintUsage << '\n';
  return !request.files.empty();
}

const char* severity_name(Severity severity) {
  return severity == Severity::error ? "error" : "warning";
}

std::string count_of(int n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

struct Totals {
  int errors = 0;
  int warnings = 0;
  void add(const Problem& p) { ++(p.severity == Severity::error ? errors : warnings); }
};

}  // namespace

int lint_command(const Arguments& args, std::ostream& out, std::ostream& err) {
  LintRequest request;
  if (!parse_lint_arguments(args, request, err)) return kStatusUsage;
  Totals totals;
  bool unreadable = false;
  nlohmann::json records = nlohmann::json::array();
  for (const std::string& file : request.files) {
    std::string bytes;
    if (!read_whole_file(file, bytes)) {
      err << "tindel-author: " << file << ": cannot be read\n";
      unreadable = true;
      continue;
    }
    LintOptions options = request.options;
    options.qs1 = is_qs1_name(file);
    for (const Problem& p : lint_quest(bytes, options, folder_of(file))) {
      totals.add(p);
      if (request.json) {
        records.push_back({{"file", file},
                           {"line", p.line},
                           {"column", p.column},
                           {"severity", severity_name(p.severity)},
                           {"message", p.message}});
      } else {
        out << file << ':' << p.line << ':' << p.column << ": " << severity_name(p.severity) << ": "
            << p.message << '\n';
      }
    }
  }
  if (request.json) {
    nlohmann::json report = {
        {"problems", records}, {"errors", totals.errors}, {"warnings", totals.warnings}};
    out << report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  } else {
    out << count_of(totals.errors, "error") << ", " << count_of(totals.warnings, "warning") << '\n';
  }
  if (unreadable) return kStatusUsage;
  return totals.errors > 0 ? kStatusFound : kStatusClean;
}

}  // namespace tindel::author
