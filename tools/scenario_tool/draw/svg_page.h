// The page of the line's picture: its layout, the SVG writer and the small
// helpers that every part of the picture uses.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/track_plan.h"

namespace scenario_tool::drawing {

// Page layout, in SVG user units (pixels at 100 %).
inline constexpr double page_width = 1600;
inline constexpr double left = 120;
inline constexpr double right = page_width - 40;
inline constexpr double plot_width = right - left;
inline constexpr double plan_top = 100;
inline constexpr double plan_bottom = 600;
inline constexpr double names_bottom = 720;  // station names stand above this line
inline constexpr double gradient_top = 740;
inline constexpr double gradient_bottom = 880;
inline constexpr double curves_top = 900;
inline constexpr double curves_bottom = 960;
inline constexpr double mountain_top = 975;  // mountain-side stretches and adhesion
inline constexpr double mountain_bottom = 1015;
inline constexpr double speed_top = 1030;
inline constexpr double speed_bottom = 1190;
inline constexpr double signals_row = 1220;
inline constexpr double boards_row = 1250;
inline constexpr double indicators_row = 1280;
inline constexpr double slowdowns_row = 1310;
inline constexpr double points_row = 1340;
inline constexpr double marks_bottom = 1360;
inline constexpr double axis_labels = 1382;
inline constexpr double legend_top = 1410;
inline constexpr double page_height = 1540;
// A coordinate with one decimal at most ("12.5", "3").
std::string num(double v);
// A UTF-8 text made safe for XML character data and attribute values.
std::string xml(std::string_view utf8);
// A stored Windows-1252 name as XML-safe UTF-8.
std::string stored(const std::string& windows_1252);
// "12.35 km".
std::string km(std::int64_t metres);
// A round step (1, 2 or 5 times a power of ten) of at least `at_least`.
double nice_step(double at_least);
// The largest round step (1, 2 or 5 times a power of ten) not above `at_most`.
double nice_step_below(double at_most);
// Whether both coordinates of metre m are numbers that can be drawn.
bool finite_point(const model::track_plan& plan, std::int32_t m);

class svg_writer {
 public:
  std::string& out() { return out_; }
  svg_writer& operator<<(std::string_view s) {
    out_ += s;
    return *this;
  }
  void text(double x, double y, std::string_view content, std::string_view attributes = {}) {
    out_ += "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\"";
    if (!attributes.empty()) {
      out_ += ' ';
      out_ += attributes;
    }
    out_ += '>';
    out_ += content;
    out_ += "</text>\n";
  }
  void line(double x1, double y1, double x2, double y2, std::string_view attributes) {
    out_ += "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" +
            num(y2) + "\" " + std::string(attributes) + "/>\n";
  }

 private:
  std::string out_;
};

// The shared chainage axis of the bands under the plan.
struct chainage_axis {
  double span;  // metres shown, from 0
  double x(double metres) const { return left + std::clamp(metres / span, 0.0, 1.0) * plot_width; }
};

}  // namespace scenario_tool::drawing
