#include "scenario_tool/draw/mark_looks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace scenario_tool::drawing {

signal_look look_of_signal(std::int16_t value4) {
  const int packed = std::abs(static_cast<int>(value4));
  const int type = packed % 10;
  const int left_kind = std::min(type / 3, 2);
  const int right_kind = type % 3;
  return {left_kind, right_kind, packed / 10, signal_shapes[static_cast<std::size_t>(left_kind)],
          signal_fills[static_cast<std::size_t>(right_kind)]};
}

std::string_view glyph_name(glyph g) {
  switch (g) {
    case glyph::square:
      return "square";
    case glyph::triangle:
      return "triangle";
    default:
      return "circle";
  }
}

double curve_depth(double radius) {
  if (!(radius > 0) || !std::isfinite(radius)) return 0;
  return std::clamp(tightest_radius / radius, 0.04, 1.0);
}

std::string_view mountain_fill(int side_code) {
  switch (side_code) {
    case 1:
      return "#a9cce3";
    case 2:
      return "#a3e4d7";
    case 3:
      return "#d7bde2";
    default:
      return "#cccccc";
  }
}

std::string_view slowdown_fill(std::uint8_t kind) {
  switch (kind) {
    case model::cell_kind::slowdown_start:
      return slowdown_start_fill;
    case model::cell_kind::slowdown_end:
      return slowdown_end_fill;
    case model::cell_kind::slowdown_warning:
      return slowdown_warning_fill;
    case model::cell_kind::slowdown_marker:
      return slowdown_marker_fill;
    default:
      return {};
  }
}

std::array<double, 3> indicator_speeds(const model::track_cell& cell) {
  const auto speed = [](std::int16_t packed) { return 5.0 * std::floor(packed / 100.0); };
  return {speed(cell.value), speed(cell.value2), speed(cell.value3)};
}

}  // namespace scenario_tool::drawing
