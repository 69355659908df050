#include "model/track_plan.h"

#include <stdexcept>
#include <string>

namespace model {

track_plan::track_plan(std::int32_t last_metre) {
  if (last_metre < 0) throw std::out_of_range("track plan of negative length");
  const std::size_t size = 2 * (static_cast<std::size_t>(last_metre) + 1);
  tags_.assign(size, plan_tag::empty);
  values_.assign(size, 0.0);
}

std::size_t track_plan::checked(std::int32_t metre, int column) const {
  const std::int32_t last = last_metre();
  if (metre < 0 || metre > last || column < 0 || column > 1) {
    throw std::out_of_range("track plan element (" + std::to_string(metre) + ", " +
                            std::to_string(column) + ") outside metres 0 to " +
                            std::to_string(last));
  }
  return static_cast<std::size_t>(column) * (static_cast<std::size_t>(last) + 1) +
         static_cast<std::size_t>(metre);
}

plan_value track_plan::at(std::int32_t metre, int column) const {
  const std::size_t i = checked(metre, column);
  return plan_value{tags_[i], values_[i]};
}

void track_plan::set_short(std::int32_t metre, int column, std::int16_t value) {
  const std::size_t i = checked(metre, column);
  tags_[i] = plan_tag::short_int;
  values_[i] = value;
}

void track_plan::set_double(std::int32_t metre, int column, double value) {
  const std::size_t i = checked(metre, column);
  tags_[i] = plan_tag::real;
  values_[i] = value;
}

}  // namespace model
