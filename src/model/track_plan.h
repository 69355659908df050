// The plane coordinates of the line, one point per metre: element (m, 0) is
// the x and (m, 1) the y of metre m. Each element is empty, a 16-bit integer
// or a double, and keeps which one it is, since the compiled plan file tags
// every element with its type.
#pragma once

#include <cstddef>
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

  // Every access is checked: an index outside the plan throws std::out_of_range.
  plan_value at(std::int32_t metre, int column) const {
    const std::size_t i = checked(metre, column);
    return plan_value{static_cast<plan_tag>(tags_[i]), values_[i]};
  }
  // The element's value as a double (an empty element reads 0).
  double number(std::int32_t metre, int column) const { return values_[checked(metre, column)]; }
  void set_short(std::int32_t metre, int column, std::int16_t value) {
    set(checked(metre, column), plan_tag::short_int, value);
  }
  void set_double(std::int32_t metre, int column, double value) {
    set(checked(metre, column), plan_tag::real, value);
  }
  // The elements in file order (all x values, then all y values), for the
  // writer of the compiled plan: element i has tag(i) and value(i).
  std::size_t element_count() const { return tags_.size(); }
  plan_tag tag(std::size_t i) const { return static_cast<plan_tag>(tags_[i]); }
  double value(std::size_t i) const { return values_[i]; }

  // Both coordinates of a metre as doubles.
  void set_point(std::int32_t metre, double x, double y) {
    const std::size_t i = checked(metre, 0);
    set(i, plan_tag::real, x);
    set(i + half(), plan_tag::real, y);
  }

 private:
  std::size_t half() const { return tags_.size() / 2; }
  std::size_t checked(std::int32_t metre, int column) const {
    if (metre < 0 || static_cast<std::size_t>(metre) >= half() || column < 0 || column > 1) {
      out_of_plan(metre, column);
    }
    return static_cast<std::size_t>(column) * half() + static_cast<std::size_t>(metre);
  }
  [[noreturn]] void out_of_plan(std::int32_t metre, int column) const;
  void set(std::size_t i, plan_tag tag, double value) {
    tags_[i] = static_cast<std::uint8_t>(tag);
    values_[i] = value;
  }

  // Column-major, as in the file: all x values, then all y values.
  std::vector<std::uint8_t> tags_;  // a plan_tag each, one byte is enough
  std::vector<double> values_;
};

}  // namespace model
