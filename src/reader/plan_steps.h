// The track plan is built metre by metre: each step repeats the previous
// displacement, turned by the curvature k (the reciprocal of the radius).
#pragma once

#include <cstdint>
#include <string_view>

#include "model/track_plan.h"

namespace reader {

// Curvature of a curve keyword: the first of the digits 1 to 6 that it holds
// decides; negative (a left turn) when it holds an "s" in any case. Returns
// false when it holds none of the digits.
bool curvature_of(std::string_view keyword, double& k);

class plan_builder {
 public:
  explicit plan_builder(model::track_plan& plan) : plan_(plan) {}

  // Metres 0 and 1 as the integers (0, 0) and (0, 1): the line starts at the
  // origin heading along +y.
  void seed();

  // Computes metre c with curvature k and moves on to the next metre.
  void step(double k);

  std::int32_t next_metre() const { return c_; }

 private:
  model::track_plan& plan_;
  std::int32_t c_ = 2;
  // The last two points, metres c - 2 and c - 1, exactly as the plan holds them.
  double x2_ = 0.0, y2_ = 0.0, x1_ = 0.0, y1_ = 0.0;
};

}  // namespace reader
