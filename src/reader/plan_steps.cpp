#include "reader/plan_steps.h"

#include <optional>
#include <string_view>

#include "model/record_words.h"
#include "reader/keyword.h"

namespace reader {

bool curvature_of(std::string_view keyword, double& k) {
  const std::optional<model::curve_digit> curve = model::curve_digit_in(keyword);
  if (!curve) return false;
  k = contains_nocase(keyword, "s") ? -curve->curvature : curve->curvature;
  return true;
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
