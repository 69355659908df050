// The tool's diagnostics sink: it follows the reader through the two texts,
// keeps the place of every row and of the row behind each filled cell, and
// turns every recorded error into a diagnostic at the row and field at fault,
// with the warnings about each row in reading order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/diagnostic_sink.h"
#include "model/scenario_model.h"
#include "scenario_tool/compile/diagnostic.h"
#include "scenario_tool/compile/source_text.h"
#include "scenario_tool/compile/warnings.h"

namespace scenario_tool {

class diagnostics_collector final : public model::diagnostic_sink {
 public:
  diagnostics_collector(const source_text& line, const source_text& train,
                        const model::scenario_model& model, bool plan);

  void text_started(model::description_text text, std::string_view bytes) override;
  void field_started(std::size_t offset) override;
  void row_started() override;
  void row_finished() override;
  void body_started() override;
  void error_recorded(std::int32_t code, const std::int32_t* position) override;
  void error_position_recorded(std::int32_t position) override;
  void error_from_cell(std::int64_t cell) override;
  void error_from_reference(int entry) override;
  void cell_filled(std::int64_t cell) override;
  void cell_filled_by_walk(std::int64_t cell, std::int64_t trigger) override;
  void read_failed(const std::exception& failure) override;

  // The reader is done: errors from now on are the walk's.
  void reading_done();
  // errore stopped the run with 1250 or 1251: names the rows that filled the
  // reserved slots (cell 1 of the track cells).
  void header_slots_taken(std::int32_t number);
  // The run stopped for another reason (nothing to compile, a file that
  // cannot be read or written).
  void stopped(const std::string& why, bool about_line_text);

  // Every diagnostic, in order.
  std::vector<diagnostic> finish();

 private:
  struct row_place {
    const source_text* text = nullptr;
    std::vector<std::size_t> fields;  // the keyword first
    bool by_walk = false;             // a cell that the walk filled for this row's object
  };

  const source_text& text_of(model::description_text which) const;
  void finish_row();
  diagnostic at_field(const row_place& row, std::size_t field, severity level) const;
  std::size_t field_at_fault(std::int32_t code, const row_place& row) const;

  const source_text& line_;
  const source_text& train_;
  const model::scenario_model& model_;
  model::description_text which_ = model::description_text::line;
  bool reading_ = false;
  bool header_ = true;
  bool walking_ = false;
  row_warnings warnings_;
  row_place row_;  // the row being read
  std::size_t last_field_ = 0;
  bool any_field_ = false;
  std::vector<diagnostic> out_;
  std::unordered_map<std::int64_t, row_place> cell_rows_;  // the row behind each filled cell
  row_place references_[3];                                // rows "tre", "due", "uno" as read
  // Why the current text could not be read, and where.
  std::string failure_reason_;
  std::size_t failure_offset_ = 0;
  bool failure_placed_ = false;
};

}  // namespace scenario_tool
