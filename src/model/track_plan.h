// The plane coordinates of the line, one point per metre: element (m, 0) is
// the x and (m, 1) the y of metre m. Each element is empty, a 16-bit integer
// or a double, and keeps which one it is, since the compiled plan file tags
// every element with its type.
#pragma once

#include <cstdint>
#include <vector>

namespace model {

enum class plan_tag : std::uint16_t { empty = 0, short_int = 2, real = 5 };

struct plan_value {
  plan_tag tag = plan_tag::empty;
  double number = 0.0;  // the short's value when tag is short_int

  friend bool operator==(const plan_value&, const plan_value&) = default;
};

class track_plan {
 public:
  track_plan() = default;
  // A plan of metres 0 to last_metre, every element empty.
  explicit track_plan(std::int32_t last_metre);

  bool exists() const { return !tags_.empty(); }
  // Highest metre index, -1 when the plan does not exist.
  std::int32_t last_metre() const { return static_cast<std::int32_t>(tags_.size() / 2) - 1; }

  // Index outside the plan: std::out_of_range.
  plan_value at(std::int32_t metre, int column) const;
  void set_short(std::int32_t metre, int column, std::int16_t value);
  void set_double(std::int32_t metre, int column, double value);
  // The element's value as a double (an empty element reads 0).
  double number(std::int32_t metre, int column) const { return values_[checked(metre, column)]; }

 private:
  std::size_t checked(std::int32_t metre, int column) const;

  // Column-major, as in the file: all x values, then all y values.
  std::vector<plan_tag> tags_;
  std::vector<double> values_;
};

}  // namespace model
