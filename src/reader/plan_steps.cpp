#include "reader/plan_steps.h"

#include <string_view>

#include "reader/keyword.h"

namespace reader {

bool curvature_of(std::string_view keyword, double& k) {
  static constexpr struct {
    char digit;
    double curvature;
  } radii[] = {{'1', 0.0001}, {'2', 0.0002}, {'3', 0.0004},
               {'4', 0.001},  {'5', 0.002},  {'6', 0.003}};
  for (const auto& radius : radii) {
    if (keyword.find(radius.digit) != std::string_view::npos) {
      k = contains_nocase(keyword, "s") ? -radius.curvature : radius.curvature;
      return true;
    }
  }
  return false;
}

void plan_builder::seed() {
  plan_.set_short(0, 0, 0);
  plan_.set_short(0, 1, 0);
  plan_.set_short(1, 0, 0);
  plan_.set_short(1, 1, 1);
}

void plan_builder::step(double k) {
  const double x1 = plan_.number(c_ - 1, 0);
  const double y1 = plan_.number(c_ - 1, 1);
  const double dx = x1 - plan_.number(c_ - 2, 0);
  const double dy = y1 - plan_.number(c_ - 2, 1);
  // Kept in this order and unfused (the build disables contraction), so the
  // plan is the same to the last bit on every machine.
  const double x = (dy * k + dx) + x1;
  const double y = (dy - dx * k) + y1;
  plan_.set_double(c_, 0, x);
  plan_.set_double(c_, 1, y);
  ++c_;
}

}  // namespace reader
