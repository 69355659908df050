// What the packed numbers of a compiled cell mean in the terms of the row
// that put them there: a signal's lights (SX, S1 to S3, DX, D1 to D3, RAPP),
// a speed indicator's speeds and stripes, the approach codes before a signal
// or a station's stop point. Hover, dump and diff all read cells through
// these, so the three say the same.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/track_cell.h"

namespace scenario_tool {

// One stored field of a cell of `kind`, decoded: "S1 4, D1 3" for the value
// 43 of a signal, "rank A: left 110 km/h, right 110 km/h" for the value 2222
// of a speed indicator, "a signal 100 m ahead (SX 2, DX 1)" for the approach
// code 71. Empty for a field that holds nothing packed.
std::string field_meaning(std::uint8_t kind, std::string_view field, std::int64_t stored);

// Every packed field of a cell, decoded, in file order and joined by "; ";
// empty for a cell that holds nothing packed.
std::string cell_meaning(const model::track_cell& cell);

}  // namespace scenario_tool
