#include "scenario_tool/compile/diagnostic_report.h"

#include <nlohmann/json.hpp>

#include "scenario_tool/shared/windows_1252.h"
#include "scenario_tool/tool.h"

namespace scenario_tool {
namespace {

std::string plural(std::size_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

const char* level_name(severity level) {
  switch (level) {
    case severity::error:
      return "error";
    case severity::warning:
      return "warning";
    case severity::note:
      break;
  }
  return "note";
}

diagnostic_counts count(const std::vector<diagnostic>& diagnostics) {
  diagnostic_counts counts;
  for (const diagnostic& d : diagnostics) {
    if (d.level == severity::error) counts.errors += 1;
    if (d.level == severity::warning) counts.warnings += 1;
  }
  return counts;
}

void warnings_as_errors(std::vector<diagnostic>& diagnostics) {
  for (diagnostic& d : diagnostics) {
    if (d.level == severity::warning) d.level = severity::error;
  }
}

std::string render_text(const std::vector<diagnostic>& diagnostics) {
  std::string out;
  for (const diagnostic& d : diagnostics) {
    out += d.file.empty() ? std::string("scenario_tool") : d.file;
    if (d.line != 0) {
      out += ':';
      out += std::to_string(d.line);
      out += ':';
      out += std::to_string(d.column);
    }
    out += ": ";
    out += level_name(d.level);
    out += ": ";
    if (d.code != 0) {
      out += std::to_string(d.code);
      out += ": ";
    }
    out += utf8_from_windows_1252(d.message());
    if (!d.name.empty() && d.level != severity::note) out += " [" + d.name + "]";
    out += '\n';
    if (d.line != 0) {
      out += "    ";
      out += utf8_from_windows_1252(d.row);
      out += "\n    ";
      // Tabs stay tabs so that the caret stands under the field.
      for (std::size_t i = 0; i + 1 < d.column && i < d.row.size(); ++i) {
        out += d.row[i] == '\t' ? '\t' : ' ';
      }
      out += "^\n";
    }
  }
  const diagnostic_counts counts = count(diagnostics);
  if (counts.errors + counts.warnings != 0) {
    out += plural(counts.errors, "error");
    out += ", ";
    out += plural(counts.warnings, "warning");
    out += '\n';
  }
  return out;
}

nlohmann::json render_json(const std::vector<diagnostic>& diagnostics, int status,
                           const std::vector<std::string>& files) {
  using nlohmann::json;
  const auto or_null = [](bool present, auto value) {
    return present ? json(std::move(value)) : json(nullptr);
  };
  json list = json::array();
  for (const diagnostic& d : diagnostics) {
    const bool placed = d.line != 0;
    list.push_back({{"file", or_null(!d.file.empty(), d.file)},
                    {"line", or_null(placed, d.line)},
                    {"column", or_null(placed, d.column)},
                    {"end_column", or_null(placed, d.end_column)},
                    {"severity", level_name(d.level)},
                    {"code", or_null(d.code != 0, d.code)},
                    {"name", or_null(!d.name.empty(), d.name)},
                    {"message", utf8_from_windows_1252(d.message())},
                    {"position_m", or_null(d.position.has_value(), d.position.value_or(0))},
                    {"row", or_null(placed, utf8_from_windows_1252(d.row))}});
  }
  const diagnostic_counts counts = count(diagnostics);
  return {{"version", json_version}, {"diagnostics", std::move(list)},
          {"errors", counts.errors}, {"warnings", counts.warnings},
          {"status", status},        {"files", files}};
}

}  // namespace scenario_tool
