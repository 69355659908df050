#include "scenario_tool/compile/diagnostic_report.h"

#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool {
namespace {

const char* level_name(severity level) {
  return level == severity::error ? "error" : "warning";
}

std::string plural(std::size_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

diagnostic_counts count(const std::vector<diagnostic>& diagnostics) {
  diagnostic_counts counts;
  for (const diagnostic& d : diagnostics) {
    (d.level == severity::error ? counts.errors : counts.warnings) += 1;
  }
  return counts;
}

void warnings_as_errors(std::vector<diagnostic>& diagnostics) {
  for (diagnostic& d : diagnostics) d.level = severity::error;
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
  if (!diagnostics.empty()) {
    out += plural(counts.errors, "error");
    out += ", ";
    out += plural(counts.warnings, "warning");
    out += '\n';
  }
  return out;
}

nlohmann::json render_json(const std::vector<diagnostic>& diagnostics, int status,
                           const std::vector<std::string>& files) {
  nlohmann::json list = nlohmann::json::array();
  for (const diagnostic& d : diagnostics) {
    nlohmann::json one = {{"severity", level_name(d.level)},
                          {"message", utf8_from_windows_1252(d.message())}};
    one["file"] = d.file.empty() ? nlohmann::json(nullptr) : nlohmann::json(d.file);
    if (d.line != 0) {
      one["line"] = d.line;
      one["column"] = d.column;
      one["row"] = utf8_from_windows_1252(d.row);
    }
    if (d.code != 0) one["code"] = d.code;
    if (d.position) one["position_m"] = *d.position;
    list.push_back(std::move(one));
  }
  const diagnostic_counts counts = count(diagnostics);
  return {{"diagnostics", std::move(list)},
          {"errors", counts.errors},
          {"warnings", counts.warnings},
          {"status", status},
          {"files", files}};
}

}  // namespace scenario_tool
