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
  x2_ = 0.0;
  y2_ = 0.0;
  x1_ = 0.0;
  y1_ = 1.0;
}

void plan_builder::step(double k) {
  const double dx = x1_ - x2_;
  const double dy = y1_ - y2_;
  // Kept in this order and unfused (the build disables contraction), so the
  // plan is the same to the last bit on every machine.
  const double x = (dy * k + dx) + x1_;
  const double y = (dy - dx * k) + y1_;
  plan_.set_point(c_, x, y);
  x2_ = x1_;
  y2_ = y1_;
  x1_ = x;
  y1_ = y;
  ++c_;
}

}  // namespace reader
