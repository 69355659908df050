// How diagnostics are printed: as compilers print them, so that editors jump
// to the row, or as one JSON document for editors and scripts.
#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "scenario_tool/compile/diagnostic.h"

namespace scenario_tool {

struct diagnostic_counts {
  std::size_t errors = 0;
  std::size_t warnings = 0;
};

// "error", "warning" or "note", as every output names a diagnostic's level.
const char* level_name(severity level);

diagnostic_counts count(const std::vector<diagnostic>& diagnostics);

// Every warning becomes an error (--werror).
void warnings_as_errors(std::vector<diagnostic>& diagnostics);

// "FILE:LINE:COLUMN: error: N: meaning (at M m)", the row as written and a
// caret under the field at fault; then "N errors, M warnings" when there was
// any diagnostic at all. Texts are shown in UTF-8.
std::string render_text(const std::vector<diagnostic>& diagnostics);

// {"diagnostics": [...], "errors": N, "warnings": M, "status": S, "files": [...]}.
nlohmann::json render_json(const std::vector<diagnostic>& diagnostics, int status,
                           const std::vector<std::string>& files);

}  // namespace scenario_tool
