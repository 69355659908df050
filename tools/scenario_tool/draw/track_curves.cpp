#include "scenario_tool/draw/track_curves.h"

#include <cmath>

#include "scenario_tool/draw/svg_page.h"

namespace scenario_tool::drawing {

std::vector<curve_stretch> curves_of(const model::track_plan& plan, std::int32_t last_metre) {
  std::vector<curve_stretch> curves;
  constexpr double smallest = 0.00005;  // half the gentlest curve a text can give
  for (std::int32_t m = 2; m <= last_metre; ++m) {
    if (!finite_point(plan, m) || !finite_point(plan, m - 1) || !finite_point(plan, m - 2)) {
      continue;
    }
    const double ax = plan.number(m - 1, 0) - plan.number(m - 2, 0);
    const double ay = plan.number(m - 1, 1) - plan.number(m - 2, 1);
    const double bx = plan.number(m, 0) - plan.number(m - 1, 0);
    const double by = plan.number(m, 1) - plan.number(m - 1, 1);
    const double length2 = ax * ax + ay * ay;
    if (!(length2 > 0)) continue;
    const double k = -(ax * by - ay * bx) / length2;
    if (!std::isfinite(k) || std::fabs(k) < smallest) continue;
    if (!curves.empty() && curves.back().last == m - 1 &&
        (curves.back().curvature > 0) == (k > 0)) {
      curve_stretch& c = curves.back();
      c.curvature += (k - c.curvature) / static_cast<double>(m - c.first + 1);
      c.last = m;
    } else {
      curves.push_back({m, m, k});
    }
  }
  return curves;
}

}  // namespace scenario_tool::drawing
