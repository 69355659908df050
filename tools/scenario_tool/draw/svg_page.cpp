#include "scenario_tool/draw/svg_page.h"

#include <cmath>
#include <cstdio>

#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool::drawing {

std::string num(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", v);
  std::string s = buffer;
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  if (s == "-0") s = "0";
  return s;
}

// A UTF-8 text made safe for XML character data and attribute values.
std::string xml(std::string_view utf8) {
  std::string out;
  for (char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}
std::string stored(const std::string& windows_1252) {
  return xml(utf8_from_windows_1252(windows_1252));
}

std::string km(std::int64_t metres) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f km", static_cast<double>(metres) / 1000.0);
  return buffer;
}

// A round step (1, 2 or 5 times a power of ten) of at least `at_least`.
double nice_step(double at_least) {
  if (!(at_least > 0)) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(at_least)));
  for (double f : {1.0, 2.0, 5.0, 10.0}) {
    if (f * power >= at_least) return f * power;
  }
  return 10 * power;
}

// The largest round step (1, 2 or 5 times a power of ten) not above `at_most`.
double nice_step_below(double at_most) {
  if (!(at_most >= 1)) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(at_most)));
  for (double f : {5.0, 2.0, 1.0}) {
    if (f * power <= at_most) return f * power;
  }
  return power;
}

bool finite_point(const model::track_plan& plan, std::int32_t m) {
  const model::plan_value x = plan.at(m, 0);
  const model::plan_value y = plan.at(m, 1);
  return x.tag != model::plan_tag::empty && y.tag != model::plan_tag::empty &&
         std::isfinite(x.number) && std::isfinite(y.number);
}

}  // namespace scenario_tool::drawing
