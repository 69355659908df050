// How the plan is turned to fill its box, for the static SVG and the page
// alike: the line's principal direction runs along the box's width and its
// start lies on the left. Turning keeps lengths, so a scale bar stays true.
#pragma once

#include <cstdint>

#include "model/track_plan.h"

namespace scenario_tool::drawing {

struct plan_turn {
  double cos = 1;  // a point (x, y) of the plane is drawn at
  double sin = 0;  // u = x cos - y sin (rightwards), v = x sin + y cos (upwards)
  double u(double x, double y) const { return x * cos - y * sin; }
  double v(double x, double y) const { return x * sin + y * cos; }
};

// The turn of the plan's metres 0 to `line_end`, from their principal axis.
plan_turn turn_of(const model::track_plan& plan, std::int32_t line_end);

}  // namespace scenario_tool::drawing
