#include "model/track_plan.h"

#include <stdexcept>
#include <string>

namespace model {

track_plan::track_plan(std::int32_t last_metre) {
  if (last_metre < 0) throw std::out_of_range("track plan of negative length");
  const std::size_t size = 2 * (static_cast<std::size_t>(last_metre) + 1);
  tags_.assign(size, static_cast<std::uint8_t>(plan_tag::empty));
  values_.assign(size, 0.0);
}

void track_plan::out_of_plan(std::int32_t metre, int column) const {
  throw std::out_of_range("track plan element (" + std::to_string(metre) + ", " +
                          std::to_string(column) + ") outside metres 0 to " +
                          std::to_string(last_metre()));
}

}  // namespace model
