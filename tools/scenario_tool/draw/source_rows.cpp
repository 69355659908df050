#include "scenario_tool/draw/source_rows.h"

#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool {

std::vector<source_row> rows_with_cells(const lsp::row_index& rows, const source_text& line,
                                        const source_text& train) {
  std::vector<source_row> out;
  for (const auto which : {model::description_text::line, model::description_text::train}) {
    const source_text& text = which == model::description_text::line ? line : train;
    for (const lsp::read_row& row : rows.rows(which)) {
      if (row.cells.empty() || row.fields.empty()) continue;
      const text_position at = text.position(row.fields.front());
      source_row r;
      r.file = text.name();
      r.line = at.line;
      r.text = utf8_from_windows_1252(at.row);
      r.cells = row.cells;
      for (const std::int64_t cell : row.cells) {
        for (const std::int64_t placed : rows.walk_cells(cell)) r.walk_cells.push_back(placed);
      }
      out.push_back(std::move(r));
    }
  }
  return out;
}

}  // namespace scenario_tool
