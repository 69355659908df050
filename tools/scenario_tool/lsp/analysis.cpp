#include "scenario_tool/lsp/analysis.h"

#include "scenario_tool/compile/warning_names.h"
#include "scenario_tool/lsp/message_bounds.h"

namespace scenario_tool::lsp {
namespace {

// The longest line the reader accepts, with no row of its own.
constexpr const char* stand_in_line =
    "[generale]\r\nlunghezza percorso, 1000000\r\n[curve]\r\n[fine]\r\n";

}  // namespace

std::unique_ptr<analysis> analyse(const analysis_input& input) {
  auto result = std::make_unique<analysis>();
  result->line_given = input.line.has_value();
  result->train_given = input.train.has_value();
  result->line = source_text(line_text_name, input.line ? *input.line : stand_in_line);
  result->train = source_text(train_text_name, input.train ? *input.train : std::string());

  compile_request request;
  request.line = result->line;
  request.train = result->train;
  request.route_id = input.route_id;
  request.train_number = input.train_number;
  // A stand-in line has no curves: no plan is worth building for it.
  request.plan = input.plan && input.line.has_value();
  request.observer = &result->rows;
  result->compiled = compile_texts(request);
  result->rows.finish();
  // The editor shows each named diagnostic at the level compile gives it by
  // default: a keyword typo is an error there as it is here.
  warning_policy().apply_to(result->compiled.diagnostics);

  // Only what is published is kept: a text with a fault on every row keeps
  // no more than a clean one.
  const auto keep = [&](bool line, diagnostic& d) {
    std::vector<diagnostic>& kept = line ? result->line_diagnostics : result->train_diagnostics;
    ++(line ? result->line_diagnostic_count : result->train_diagnostic_count);
    if (kept.size() <= most_published_diagnostics) kept.push_back(std::move(d));
  };
  for (diagnostic& d : result->compiled.diagnostics) {
    if (d.file == train_text_name) {
      if (result->train_given) keep(false, d);
    } else if (d.file == line_text_name) {
      if (result->line_given) keep(true, d);
    } else {
      // About the run as a whole: shown on the text being checked.
      keep(result->line_given, d);
    }
  }
  result->compiled.diagnostics.clear();
  result->compiled.diagnostics.shrink_to_fit();
  return result;
}

}  // namespace scenario_tool::lsp
