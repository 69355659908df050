// One scenario compiled as it stands in the editor: the whole compile of the
// tool, in memory, with the rows the reader took and the model it built.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scenario_tool/compile/compile_core.h"
#include "scenario_tool/lsp/row_index.h"

namespace scenario_tool::lsp {

struct analysis_input {
  std::optional<std::string> line;   // the line text's bytes; none when checked alone
  std::optional<std::string> train;  // the train text's bytes; none when checked alone
  std::string route_id;
  std::string train_number;
  bool plan = true;  // the scenario's plan flag (a text checked alone builds none)
};

struct analysis {
  source_text line;
  source_text train;
  bool line_given = true;
  bool train_given = true;
  compile_result compiled;
  row_index rows;
  // Each text's first diagnostics, as many as are published and one more
  // (where the note on the rest goes), and how many it has in all.
  std::vector<diagnostic> line_diagnostics;
  std::vector<diagnostic> train_diagnostics;
  std::size_t line_diagnostic_count = 0;
  std::size_t train_diagnostic_count = 0;
};

// The names the two texts carry in the diagnostics.
inline constexpr const char* line_text_name = "line text";
inline constexpr const char* train_text_name = "train text";

// A text checked alone gets a stand-in for the other: an empty train text
// (no train runs), or a line of the greatest length the reader accepts. The
// stand-in's own diagnostics are dropped.
std::unique_ptr<analysis> analyse(const analysis_input& input);

}  // namespace scenario_tool::lsp
