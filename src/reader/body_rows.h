// Pieces shared by the line and train passes: the body loop's keyword read
// with its dash fields, the range check of a row's first number, and the check
// of whether a record store recorded an error.
#pragma once

#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "model/conversions.h"
#include "model/scenario_model.h"
#include "reader/cell_rules.h"
#include "reader/field_reader.h"
#include "reader/keyword.h"
#include "reader/row_keywords.h"

namespace reader {

// The next keyword field of a body, skipping up to two fields that hold "-"
// (comments); nothing when the text ends first, including right after the
// keyword.
inline std::optional<std::string> next_body_keyword(field_reader& fields) {
  if (fields.at_end()) return std::nullopt;
  std::string keyword = fields.read_text();
  if (fields.at_end()) return std::nullopt;
  for (int dash = 0; dash < 2 && contains(keyword, "-"); ++dash) {
    keyword = fields.read_text();
    if (fields.at_end()) return std::nullopt;
  }
  return keyword;
}

// A row is accepted when (p + margin) / 50 is not above the last cell. Reading
// a row before the line length has made the cells is a failure of the text.
inline bool within_cells(const model::scenario_model& model, std::int32_t p, std::int32_t margin) {
  if (model.track_cells.empty()) throw read_error("a row comes before the line length");
  return (static_cast<double>(p) + margin) / 50.0 <= model.cell_count;
}

// Runs a record store and tells whether it recorded an error of its own; an
// error recorded earlier stays when the store records none.
template <typename Store>
bool store_failed(model::scenario_model& model, Store&& store) {
  const std::int32_t earlier = model.error_code;
  model.error_code = 0;
  store();
  if (model.error_code != 0) return true;
  model.error_code = earlier;
  return false;
}

// Follows the row being read for the model's observer, when there is one:
// the entries its keyword field matched, the values read, the cells their
// chainages landed in and, for an error, the value at fault and the stop.
// Without an observer it keeps nothing.
class row_follower {
 public:
  row_follower(model::scenario_model& model, field_reader& fields)
      : model_(model), sink_(model.diagnostics), fields_(fields) {}
  ~row_follower() {
    if (model_.reading == &row_) model_.reading = nullptr;
  }
  row_follower(const row_follower&) = delete;
  row_follower& operator=(const row_follower&) = delete;

  // The keyword field just read begins a row.
  void start(model::description_text text, bool header) {
    if (sink_ == nullptr) return;
    row_ = model::row_reading{};
    row_.text = text;
    row_.header = header;
    row_.keyword = fields_.last_field();
    row_.keyword.is_text = true;
    open_ = true;
    sink_->row_started();
    fields_.record_into(&row_);
    model_.reading = &row_;  // the cells it fills, the cell it finds taken
  }
  // The keyword field passed `entry`'s test; its values follow.
  void entry(const row_keyword& entry) {
    if (!open_) return;
    row_.entries.push_back(index_of(entry));
    first_value_ = row_.values.size();
  }
  // Value `value` of the current entry (1 for its first) is a chainage that
  // lands in `cell`.
  void lands(std::size_t value, std::int64_t cell) {
    if (open_ && first_value_ + value - 1 < row_.values.size()) {
      row_.values[first_value_ + value - 1].cell = cell;
    }
  }
  // The error about to be recorded is the fault of value `value` of the
  // current entry (0: the keyword), and ends the reading as `stop` says.
  void fault(std::size_t value, model::reading_stop stop) {
    if (!open_) return;
    row_.field_at_fault = value == 0 ? 0 : first_value_ + value;
    row_.stop = stop;
  }
  void clear_fault() {
    row_.field_at_fault = 0;
    row_.stop = model::reading_stop::none;
  }
  // The row has ended; `error` is the code it recorded, if any.
  void end(bool complete, std::int32_t error) {
    if (!open_) return;
    open_ = false;
    fields_.record_into(nullptr);
    model_.reading = nullptr;
    row_.complete = complete;
    row_.error = complete ? 0 : error;
    sink_->row_read(row_);
    if (complete) sink_->row_finished();
    if (row_.stop != model::reading_stop::none) sink_->reading_stopped(row_.stop);
  }
  // A failure of the text cut the row short (the failure passes on).
  void cut_short() noexcept {
    if (!open_) return;
    try {
      end(false, 0);
    } catch (...) {
      // The observer's own failure must not hide the text's.
    }
  }

 private:
  static std::size_t index_of(const row_keyword& entry) {
    return static_cast<std::size_t>(&entry - std::begin(row_keywords));
  }

  model::scenario_model& model_;
  model::diagnostic_sink* sink_;
  field_reader& fields_;
  model::row_reading row_;
  std::size_t first_value_ = 0;
  bool open_ = false;
};

// How a row ends a pass: error 15 ends the reading of the text but not the
// pass (its tails still run); an error exit stops the reader altogether.
// Each names the value at fault: 0 the keyword, 1 the first value of the row's
// entry.
struct row_exits {
  model::scenario_model& model;
  row_follower& row;
  bool stopped = false;  // an error exit was taken

  bool beyond_cells(std::int32_t p) {
    row.fault(1, model::reading_stop::text);
    model.record_error(15, p);
    return false;
  }
  bool error_exit(std::int32_t code, std::size_t at_fault) {
    row.fault(at_fault, model::reading_stop::reader);
    model.record_error(code);
    stopped = true;
    return false;
  }
  bool error_exit(std::int32_t code, std::size_t at_fault, std::int32_t p) {
    row.fault(at_fault, model::reading_stop::reader);
    model.record_error(code, p);
    stopped = true;
    return false;
  }
  // Runs a record store, whose errors are the fault of the row's chainage and
  // stop the reader; the position is the row's. Returns false on an error exit.
  template <typename Store>
  bool store(std::int32_t p, Store&& run) {
    row.fault(1, model::reading_stop::reader);
    if (store_failed(model, std::forward<Store>(run))) {
      model.record_error_position(p);
      stopped = true;
      return false;
    }
    row.clear_fault();
    return true;
  }
};

// The fills of gradients, speeds and adhesion: `write` the cell at the fill
// index and advance it, repeating while the index is below `limit` (so at
// least one cell is written).
template <typename Write>
void fill_cells(model::scenario_model& model, std::int32_t& fill, std::int32_t limit,
                Write&& write) {
  do {
    write(model.cell(fill));
    ++fill;
  } while (fill < limit);
}

// The fill of a row at chainage p reaches cell p / 50, rounded; a row at or
// before the start of the line fills nothing.
template <typename Write>
void fill_cells_to_row(model::scenario_model& model, std::int32_t& fill, std::int32_t p,
                       Write&& write) {
  const std::int32_t cells = cell_at(p);
  if (cells > 0) fill_cells(model, fill, cells, write);
}

}  // namespace reader
