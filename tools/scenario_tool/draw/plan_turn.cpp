#include "scenario_tool/draw/plan_turn.h"

#include <cmath>

#include "scenario_tool/draw/svg_page.h"

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

}  // namespace scenario_tool::drawing
