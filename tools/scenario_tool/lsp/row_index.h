// The rows of both texts as the reader took them, gathered while the compile
// runs: each row's keyword and value fields (byte offsets), the cells its
// object went into, and the speed points the walk added for those cells.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "model/diagnostic_sink.h"

namespace scenario_tool::lsp {

struct read_row {
  model::description_text which = model::description_text::line;
  bool header = false;              // a row of the line text's header
  std::vector<std::size_t> fields;  // the keyword first, then each value read
  std::vector<std::int64_t> cells;  // cells the row's object went into
  // What the reader handed on: the entries matched (indices into its keyword
  // table) and the values read, with their numbers and landing cells.
  std::vector<std::size_t> entries;
  std::vector<model::read_value> values;
};

class row_index final : public model::diagnostic_sink {
 public:
  void text_started(model::description_text text, std::string_view bytes) override;
  void field_started(std::size_t offset) override;
  void row_started() override;
  void row_finished() override;
  void body_started() override;
  void error_recorded(std::int32_t, const std::int32_t*) override {}
  void error_position_recorded(std::int32_t) override {}
  void error_from_cell(std::int64_t) override {}
  void error_from_reference(int) override {}
  void cell_filled(std::int64_t cell) override;
  void cell_filled_by_walk(std::int64_t cell, std::int64_t trigger) override;
  void read_failed(const std::exception&) override {}
  void row_read(const model::row_reading& row) override;

  // The rows of one text, in reading order.
  const std::vector<read_row>& rows(model::description_text which) const {
    return which == model::description_text::line ? line_rows_ : train_rows_;
  }
  // The reading is over: the last row is complete.
  void finish() { finish_row(); }
  // The speed points the walk placed for the object in `trigger`.
  std::vector<std::int64_t> walk_cells(std::int64_t trigger) const;

 private:
  void finish_row();

  model::description_text which_ = model::description_text::line;
  bool header_ = false;
  bool in_row_ = false;
  std::size_t last_field_ = 0;
  read_row row_;
  std::vector<read_row> line_rows_;
  std::vector<read_row> train_rows_;
  std::multimap<std::int64_t, std::int64_t> walk_;  // trigger cell -> placed cell
};

}  // namespace scenario_tool::lsp
