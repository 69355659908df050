// Pieces shared by the line and train passes: the body loop's keyword read
// with its dash fields, the range check of a row's first number, and the check
// of whether a record store recorded an error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/scenario_model.h"
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

}  // namespace reader
