// How the plan is turned to fill its box, for the static SVG and the page
// alike: the line's principal direction runs along the box's width and its
// start lies on the left. Turning keeps lengths, so a scale bar stays true.
#pragma once

#include <cstdint>
#include <vector>

#include "model/scenario_model.h"
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

// What the plan's box must hold, turned: the line from its start to its end
// and every station's point, those past the line's end too (a station's
// point is taken at its chainage, or at the plan's last metre beyond it).
// The SVG and the page both fit this extent to their boxes.
struct plan_frame {
  plan_turn turn;
  double min_u = 0, max_u = 0, min_v = 0, max_v = 0;
  bool found = false;  // false when no point of the plan can be drawn
};
plan_frame frame_of(const model::track_plan& plan, std::int32_t line_length,
                    const std::vector<model::station_entry>& stations);

// The plan's point of a station at chainage `position`: its metre, clamped
// to the plan.
std::int32_t station_plan_metre(const model::track_plan& plan, std::int32_t position);

}  // namespace scenario_tool::drawing
