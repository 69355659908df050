#include "scenario_tool/draw/plan_turn.h"

#include <algorithm>
#include <cmath>

#include "scenario_tool/draw/svg_page.h"
#include "scenario_tool/shared/record_fields.h"

namespace scenario_tool::drawing {

plan_turn turn_of(const model::track_plan& plan, std::int32_t line_end) {
  double n = 0, mx = 0, my = 0;
  for (std::int32_t m = 0; m <= line_end; ++m) {
    if (!finite_point(plan, m)) continue;
    n += 1;
    mx += plan.number(m, 0);
    my += plan.number(m, 1);
  }
  if (n < 2) return {};
  mx /= n;
  my /= n;
  double sxx = 0, syy = 0, sxy = 0;
  double first_x = 0, first_y = 0, last_x = 0, last_y = 0;
  bool first = true;
  for (std::int32_t m = 0; m <= line_end; ++m) {
    if (!finite_point(plan, m)) continue;
    const double dx = plan.number(m, 0) - mx, dy = plan.number(m, 1) - my;
    sxx += dx * dx;
    syy += dy * dy;
    sxy += dx * dy;
    if (first) {
      first_x = dx;
      first_y = dy;
      first = false;
    }
    last_x = dx;
    last_y = dy;
  }
  const double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
  plan_turn turn{std::cos(-angle), std::sin(-angle)};
  if (!std::isfinite(turn.cos) || !std::isfinite(turn.sin)) return {};
  // The line starts on the left: half a turn when its end lies left of its start.
  if (turn.u(last_x, last_y) < turn.u(first_x, first_y)) {
    turn.cos = -turn.cos;
    turn.sin = -turn.sin;
  }
  return turn;
}

std::int32_t station_plan_metre(const model::track_plan& plan, std::int32_t position) {
  return std::clamp(position, 0, std::max(plan.last_metre(), 0));
}

plan_frame frame_of(const model::track_plan& plan, std::int32_t line_length,
                    const std::vector<model::station_entry>& stations) {
  plan_frame frame;
  const std::int32_t last = plan.last_metre();
  if (last < 1) return frame;
  const std::int32_t line_end = std::clamp(line_length, 1, last);
  frame.turn = turn_of(plan, line_end);
  const auto take = [&](std::int32_t m) {
    if (!finite_point(plan, m)) return;
    const double u = frame.turn.u(plan.number(m, 0), plan.number(m, 1));
    const double v = frame.turn.v(plan.number(m, 0), plan.number(m, 1));
    if (!std::isfinite(u) || !std::isfinite(v)) return;
    if (!frame.found) {
      frame.min_u = frame.max_u = u;
      frame.min_v = frame.max_v = v;
      frame.found = true;
    }
    frame.min_u = std::min(frame.min_u, u);
    frame.max_u = std::max(frame.max_u, u);
    frame.min_v = std::min(frame.min_v, v);
    frame.max_v = std::max(frame.max_v, v);
  };
  for (std::int32_t m = 0; m <= line_end; ++m) take(m);
  if (!frame.found) return frame;
  for (std::size_t i = 1; i < stations.size() && i <= 80; ++i) {
    const model::station_entry& e = stations[i];
    if (station_role_of(static_cast<int>(i), e) != model::station_role::station) continue;
    take(station_plan_metre(plan, e.position));
  }
  if (!std::isfinite(frame.max_u - frame.min_u) || !std::isfinite(frame.max_v - frame.min_v)) {
    frame.found = false;
  }
  return frame;
}

}  // namespace scenario_tool::drawing
