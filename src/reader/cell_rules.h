// Which track cell a chainage of a row lands in. The writers differ by one
// cell, and the difference is part of the format: gradient, line speed and
// adhesion fills, speed points and mountain-side stretches take the cell of the
// chainage itself; signals, signs, maximum-speed indicators and the cells of a
// slowdown take the cell after it; a mountain-side stretch ends in the cell
// before its end. Halves round to even.
#pragma once

#include <cstdint>
#include <optional>

#include "model/conversions.h"
#include "model/track_cell.h"

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

// The three rules by name, for those who ask which one a chainage follows.
enum class landing { at, after, before };

inline std::int32_t cell_by(landing rule, double chainage) {
  switch (rule) {
    case landing::at:
      return cell_at(chainage);
    case landing::after:
      return cell_after(chainage);
    case landing::before:
      break;
  }
  return cell_before(chainage);
}

// The chainage, a multiple of 50, of a row that lands in `cell` by `rule`:
// the inverse of the rule for the chainages it keeps unchanged.
constexpr std::int64_t chainage_landing_in(landing rule, std::int64_t cell) {
  switch (rule) {
    case landing::at:
      return cell * 50;
    case landing::after:
      return (cell - 1) * 50;
    case landing::before:
      break;
  }
  return (cell + 1) * 50;
}

// The chainage of the row whose object of `kind` lies in `cell` (not cell
// 0), for the objects that land in the cell after a chainage: signals,
// slowdown starts, maximum-speed indicators and signs (their row's
// chainage), and a slowdown's warning point (1200 m before its row's
// chainage). Nothing for other kinds.
constexpr std::optional<std::int64_t> row_chainage_of_object(std::int64_t cell, std::uint8_t kind) {
  if (cell == 0) return std::nullopt;
  const std::int64_t before = chainage_landing_in(landing::after, cell);
  switch (kind) {
    case model::cell_kind::signal:
    case model::cell_kind::slowdown_start:
    case model::cell_kind::speed_indicator:
    case model::cell_kind::sign:
      return before;
    case model::cell_kind::slowdown_warning:
      return before + 1200;
    default:
      return std::nullopt;
  }
}

}  // namespace reader
