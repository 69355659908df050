// Pieces shared by the line and train passes: the body loop's keyword read
// with its dash fields, the range check of a row's first number, and the check
// of whether a record store recorded an error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/conversions.h"
#include "model/scenario_model.h"
#include "reader/cell_rules.h"
#include "reader/field_reader.h"
#include "reader/keyword.h"

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

// How a row ends a pass: error 15 ends the reading of the text but not the
// pass (its tails still run); an error exit stops the reader altogether.
struct row_exits {
  model::scenario_model& model;
  bool stopped = false;  // an error exit was taken

  bool beyond_cells(std::int32_t p) {
    model.record_error(15, p);
    return false;
  }
  bool error_exit(std::int32_t code) {
    model.record_error(code);
    stopped = true;
    return false;
  }
  bool error_exit(std::int32_t code, std::int32_t p) {
    model.record_error(code, p);
    stopped = true;
    return false;
  }
  // A record store has recorded its code; the position is the row's.
  bool store_error_exit(std::int32_t p) {
    model.record_error_position(p);
    stopped = true;
    return false;
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
