// Which track cell a chainage of a row lands in. The writers differ by one
// cell, and the difference is part of the format: gradient, line speed and
// adhesion fills, speed points and mountain-side stretches take the cell of the
// chainage itself; signals, signs, maximum-speed indicators and the cells of a
// slowdown take the cell after it; a mountain-side stretch ends in the cell
// before its end. Halves round to even.
#pragma once

#include <cstdint>

#include "model/conversions.h"

namespace reader {

inline std::int32_t cell_at(double chainage) {
  return model::round_to_long(chainage / 50.0);
}

inline std::int32_t cell_after(double chainage) {
  return model::round_to_long(chainage / 50.0 + 1.0);
}

inline std::int32_t cell_before(double chainage) {
  return model::round_to_long(chainage / 50.0 - 1.0);
}

}  // namespace reader
