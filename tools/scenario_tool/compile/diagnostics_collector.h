// The tool's diagnostics sink: it follows the reader through the two texts,
// keeps the place of every row and of the row behind each filled cell, and
// turns every recorded error into a diagnostic at the row and field at fault,
// with the warnings about each row in reading order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
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
  void row_read(const model::row_reading& row) override;
  void reading_stopped(model::reading_stop how) override;

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
    std::vector<std::size_t> before;  // the fields read just before the keyword, nearest first
    bool by_walk = false;             // a cell that the walk filled for this row's object
    model::row_reading reading;       // what the reader handed on, once the row has ended
  };

  const source_text& text_of(model::description_text which) const;
  void finish_row();
  diagnostic at_field(const row_place& row, std::size_t field, severity level) const;
  // The error a row recorded, told before the row is handed on.
  struct row_error {
    std::int32_t code = 0;
    std::optional<std::int32_t> position;
  };
  std::optional<row_error> row_error_;
  bool row_open_ = false;  // a row has started and not yet been handed on

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
  std::vector<std::size_t> recent_fields_;  // up to three fields before the last, nearest first
  std::vector<diagnostic> out_;
  std::unordered_map<std::int64_t, row_place> cell_rows_;  // the row behind each filled cell
  row_place references_[3];                                // rows "tre", "due", "uno" as read
  // Why the current text could not be read, and where.
  std::string failure_reason_;
  std::string failure_headline_;  // replaces the general meaning of 25 when not empty
  std::size_t failure_offset_ = 0;
  bool failure_placed_ = false;
  std::optional<diagnostic> failure_note_;  // the field the failure was met at
  bool plan_ = true;
  row_place last_speed_row_;
  std::vector<row_place> station_rows_;  // the station rows read whole, in order
  // Words for a station's code (22, 24) and a curve's (103), from the current row.
  void reword_row_error(diagnostic& d, std::int32_t code)
      const;  // the line speed row whose speed the fill writes next
  // Notes of what a stop left unread: the rest of `text` after `line`, and the
  // train text as a whole when `whole_train` (the line pass stopped the reader).
  // `always_at`: a place to name even when nothing follows it.
  void name_what_was_not_read(const source_text& text, std::size_t line, bool whole_train,
                              std::optional<std::size_t> always_at, std::optional<std::size_t> at);
  // What holds a cell, for an author: "the stop point of station A (line 14)".
  std::string holder(std::int64_t cell, const std::string& file) const;
  // "cell 15 (750 m) holds ..., cell 14 (700 m) ..." for the cells of a walk error.
  std::string cells_held(const std::vector<std::int64_t>& cells, const std::string& file) const;
  // The words of a "cell not free" code of the reader: the cell the row found taken.
  std::string taken_cell_words() const;
  // The words of a walk error found at `at` for the object in `origin`.
  std::string walk_error_words(std::int32_t code, std::int64_t at, std::int64_t origin,
                               const std::string& file);
  std::map<std::int64_t, int> window_errors_;
  std::set<std::pair<std::int64_t, std::int64_t>>
      walk_points_;  // (cell, trigger) the walk filled  // errors 12 recorded for each slowdown
                     // start
  // The reading of a row that went past its own line, or ended in the text.
  bool row_overran(const std::string& what);
  // What each text gave: rows read after "[generale]" (the line text's body
  // rows), and whether the line text's header was closed by a section header.
  std::size_t rows_read_[2] = {0, 0};
  bool text_seen_[2] = {false, false};
  bool header_closed_ = false;
  std::optional<std::size_t> generale_;  // the train text's "[generale]", once the reader found it
  bool row_complete_ = false;            // the row being finished read all its values
  std::size_t body_rows_in_header_ = 0;
  void name_texts_that_gave_nothing();
};

}  // namespace scenario_tool
