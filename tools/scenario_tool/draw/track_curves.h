// Where the line curves, read back from the track plan: each metre's step
// turns from the one before by the curvature times the step's length squared.
#pragma once

#include <cstdint>
#include <vector>

#include "model/track_plan.h"

namespace scenario_tool::drawing {

// A stretch of curve found in the plan: where the heading turns.
struct curve_stretch {
  std::int32_t first;
  std::int32_t last;
  double curvature;  // per metre; positive turns right
};

// Curvature of each metre from the turn of its step against the one before:
// the plan's steps turn by k times the step's length squared.
std::vector<curve_stretch> curves_of(const model::track_plan& plan, std::int32_t last_metre);

}  // namespace scenario_tool::drawing
