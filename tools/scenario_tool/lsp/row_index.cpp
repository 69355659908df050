#include "scenario_tool/lsp/row_index.h"

namespace scenario_tool::lsp {

void row_index::text_started(model::description_text text, std::string_view) {
  finish_row();
  which_ = text;
  header_ = text == model::description_text::line;
}

void row_index::field_started(std::size_t offset) {
  last_field_ = offset;
  if (in_row_) row_.fields.push_back(offset);
}

void row_index::row_started() {
  finish_row();
  in_row_ = true;
  row_ = {which_, header_, {last_field_}, {}, {}, {}};
}

void row_index::row_finished() {
  finish_row();
}

void row_index::row_read(const model::row_reading& row) {
  if (!in_row_) return;
  row_.entries = row.entries;
  row_.values = row.values;
}

void row_index::body_started() {
  finish_row();
  header_ = false;
}

void row_index::cell_filled(std::int64_t cell) {
  if (in_row_) row_.cells.push_back(cell);
}

void row_index::cell_filled_by_walk(std::int64_t cell, std::int64_t trigger) {
  walk_.emplace(trigger, cell);
}

void row_index::finish_row() {
  if (!in_row_) return;
  (which_ == model::description_text::line ? line_rows_ : train_rows_).push_back(std::move(row_));
  row_ = {};
  in_row_ = false;
}

std::vector<std::int64_t> row_index::walk_cells(std::int64_t trigger) const {
  std::vector<std::int64_t> cells;
  const auto [first, last] = walk_.equal_range(trigger);
  for (auto it = first; it != last; ++it) cells.push_back(it->second);
  return cells;
}

}  // namespace scenario_tool::lsp
