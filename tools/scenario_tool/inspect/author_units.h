// Compiled values as an author wrote them: line speeds in km/h, gradients in
// per mille, and the chainage of the row that put an object in a cell (rows
// of signals, boards, speed indicators and slowdowns land one cell on).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/track_cell.h"

namespace scenario_tool {

// A cell field in the author's unit: "120 km/h" for a speed_limit of 24,
// "-6 ‰" for a gradient of 94; nothing for a field kept as written.
std::optional<std::string> in_author_units(std::string_view field, std::int64_t stored);
// The same as a number, for JSON: 120, -6.
std::optional<std::int64_t> author_number(std::string_view field, std::int64_t stored);

// The chainage of the row that put an object of `kind` in cell `cell`, where
// it differs from the cell's own: a signal in cell 33 comes from a row at
// 1600 m, a slowdown's warning point in cell 137 from a slowdown at 8000 m.
std::optional<std::int64_t> written_chainage(std::size_t cell, std::uint8_t kind);

// "cell 33 (1650 m)", with ", row at 1600 m" for an object of a row that
// lands elsewhere than its chainage's cell.
std::string cell_place(std::size_t cell, std::uint8_t kind);

// What dump prints for cell `i`: its place, its kind's name, then every field
// in file order, line speeds and gradients in the author's units.
std::string cell_text(std::size_t i, const model::track_cell& cell);

}  // namespace scenario_tool
