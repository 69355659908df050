#include "scenario_tool/line_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "assembly/check_codes.h"
#include "assembly/header_stamps.h"
#include "scenario_tool/record_fields.h"
#include "scenario_tool/windows_1252.h"

namespace scenario_tool {

namespace {

// Page layout, in SVG user units (pixels at 100 %).
constexpr double page_width = 1600;
constexpr double left = 120;
constexpr double right = page_width - 40;
constexpr double plot_width = right - left;
constexpr double plan_top = 100;
constexpr double plan_bottom = 600;
constexpr double names_bottom = 720;  // station names stand above this line
constexpr double gradient_top = 740;
constexpr double gradient_bottom = 880;
constexpr double curves_top = 900;
constexpr double curves_bottom = 950;
constexpr double speed_top = 970;
constexpr double speed_bottom = 1130;
constexpr double signals_row = 1160;
constexpr double slowdowns_row = 1195;
constexpr double points_row = 1230;
constexpr double marks_bottom = 1250;
constexpr double axis_labels = 1272;
constexpr double legend_top = 1300;
constexpr double page_height = 1400;
// The plan is thinned to about this many points: more than a page can show.
constexpr std::int32_t plan_points = 4000;

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

struct chainage_axis {
  double span;  // metres shown, from 0
  double x(double metres) const { return left + std::clamp(metres / span, 0.0, 1.0) * plot_width; }
};

bool finite_point(const model::track_plan& plan, std::int32_t m) {
  const model::plan_value x = plan.at(m, 0);
  const model::plan_value y = plan.at(m, 1);
  return x.tag != model::plan_tag::empty && y.tag != model::plan_tag::empty &&
         std::isfinite(x.number) && std::isfinite(y.number);
}

// A stretch of curve found in the plan: where the heading turns.
struct curve_stretch {
  std::int32_t first;
  std::int32_t last;
  double curvature;  // per metre; positive turns right
};

// Curvature of each metre from the turn of its step against the one before:
// the plan's steps turn by k times the step's length squared.
std::vector<curve_stretch> curves_of(const model::track_plan& plan, std::int32_t last_metre) {
  std::vector<curve_stretch> curves;
  constexpr double smallest = 0.00005;  // half the gentlest curve a text can give
  for (std::int32_t m = 2; m <= last_metre; ++m) {
    if (!finite_point(plan, m) || !finite_point(plan, m - 1) || !finite_point(plan, m - 2)) {
      continue;
    }
    const double ax = plan.number(m - 1, 0) - plan.number(m - 2, 0);
    const double ay = plan.number(m - 1, 1) - plan.number(m - 2, 1);
    const double bx = plan.number(m, 0) - plan.number(m - 1, 0);
    const double by = plan.number(m, 1) - plan.number(m - 1, 1);
    const double length2 = ax * ax + ay * ay;
    if (!(length2 > 0)) continue;
    const double k = -(ax * by - ay * bx) / length2;
    if (!std::isfinite(k) || std::fabs(k) < smallest) continue;
    if (!curves.empty() && curves.back().last == m - 1 &&
        (curves.back().curvature > 0) == (k > 0)) {
      curve_stretch& c = curves.back();
      c.curvature += (k - c.curvature) / static_cast<double>(m - c.first + 1);
      c.last = m;
    } else {
      curves.push_back({m, m, k});
    }
  }
  return curves;
}

void draw_plan(svg_writer& svg, const line_picture& p) {
  svg << "<g id=\"plan\">\n";
  svg << "<rect x=\"" << num(left) << "\" y=\"" << num(plan_top) << "\" width=\"" << num(plot_width)
      << "\" height=\"" << num(plan_bottom - plan_top) << "\" fill=\"#fbfbf8\" stroke=\"#999\"/>\n";
  svg.text(left + 6, plan_top + 16, "Plan of the line (from the track plan)",
           "font-size=\"13\" font-weight=\"bold\"");
  const std::int32_t last = p.plan.last_metre();
  if (last < 1) {
    svg.text(left + 6, plan_top + 36, "No track plan to draw.", "font-size=\"12\"");
    svg << "</g>\n";
    return;
  }
  const std::int32_t line_end = std::clamp(p.line_length, 1, last);
  double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
  bool any = false;
  for (std::int32_t m = 0; m <= line_end; ++m) {
    if (!finite_point(p.plan, m)) continue;
    const double x = p.plan.number(m, 0);
    const double y = p.plan.number(m, 1);
    if (!any) {
      min_x = max_x = x;
      min_y = max_y = y;
      any = true;
    }
    min_x = std::min(min_x, x);
    max_x = std::max(max_x, x);
    min_y = std::min(min_y, y);
    max_y = std::max(max_y, y);
  }
  if (!any) {
    svg << "</g>\n";
    return;
  }
  const double pad = 60;
  const double box_w = plot_width - 2 * pad;
  const double box_h = plan_bottom - plan_top - 2 * pad;
  const double span_x = std::max(max_x - min_x, 1.0);
  const double span_y = std::max(max_y - min_y, 1.0);
  const double scale = std::min(box_w / span_x, box_h / span_y);  // pixels per metre
  const double origin_x = left + pad + (box_w - span_x * scale) / 2;
  const double origin_y = plan_top + pad + (box_h + span_y * scale) / 2;
  // The plane's y grows upwards: the line starts heading up the page.
  const auto px = [&](double x) { return origin_x + (x - min_x) * scale; };
  const auto py = [&](double y) { return origin_y - (y - min_y) * scale; };

  const std::int32_t step = std::max<std::int32_t>(1, last / plan_points);
  const auto polyline = [&](std::int32_t from, std::int32_t to, std::string_view attributes) {
    std::string points;
    for (std::int32_t m = from; m <= to; m = (m == to ? to + 1 : std::min(m + step, to))) {
      if (!finite_point(p.plan, m)) continue;
      points += num(px(p.plan.number(m, 0))) + "," + num(py(p.plan.number(m, 1))) + " ";
    }
    svg << "<polyline fill=\"none\" " << attributes << " points=\"" << points << "\"/>\n";
  };
  polyline(0, line_end, "stroke=\"#222\" stroke-width=\"2.5\" class=\"plan-line\"");
  // The extra metres past the line's end that the plan carries.
  const double clip_margin = 20;
  svg << "<clipPath id=\"plan-clip\"><rect x=\"" << num(left) << "\" y=\"" << num(plan_top)
      << "\" width=\"" << num(plot_width) << "\" height=\"" << num(plan_bottom - plan_top)
      << "\"/></clipPath>\n";
  svg << "<g clip-path=\"url(#plan-clip)\">\n";
  (void)clip_margin;
  if (last - 2 > line_end) {
    polyline(line_end, last - 2, "stroke=\"#999\" stroke-width=\"1.5\" stroke-dasharray=\"6 4\"");
  }
  svg << "</g>\n";

  // Stations: a ring at the point of the station's chainage, and its name.
  int n = 0;
  for (std::size_t i = 1; i < p.stations.size() && i <= 80; ++i) {
    const model::station_entry& e = p.stations[i];
    if (station_role(static_cast<int>(i), e) != "station") continue;
    const std::int32_t m = std::clamp(e.position, 0, last);
    if (!finite_point(p.plan, m)) continue;
    const double x = px(p.plan.number(m, 0));
    const double y = py(p.plan.number(m, 1));
    svg << "<circle class=\"plan-station-mark\" cx=\"" << num(x) << "\" cy=\"" << num(y)
        << "\" r=\"5\" fill=\"#fff\" stroke=\"#c0392b\" stroke-width=\"2\"><title>"
        << stored(e.name) << ", " << km(e.position) << "</title></circle>\n";
    const bool to_left = (n++ % 2) == 1;
    svg.text(to_left ? x - 9 : x + 9, y + 4, stored(e.name),
             to_left ? "font-size=\"11\" text-anchor=\"end\" class=\"plan-station-name\""
                     : "font-size=\"11\" class=\"plan-station-name\"");
  }
  // Start of the line.
  svg.text(px(0) + 8, py(0) + 16, "start (0, 0)", "font-size=\"10\" fill=\"#555\"");

  // Scale bar: a round length of at most a fifth of the line's extent.
  const double bar_m = nice_step_below(std::max(span_x, span_y) / 5);
  const double bar_px = bar_m * scale;
  const double bx = left + 20;
  const double by = plan_bottom - 20;
  svg << "<g id=\"scale-bar\">\n";
  svg.line(bx, by, bx + bar_px, by, "stroke=\"#000\" stroke-width=\"3\"");
  svg.line(bx, by - 6, bx, by + 4, "stroke=\"#000\" stroke-width=\"1.5\"");
  svg.line(bx + bar_px, by - 6, bx + bar_px, by + 4, "stroke=\"#000\" stroke-width=\"1.5\"");
  svg.text(bx + bar_px / 2, by - 8, bar_m >= 1000 ? num(bar_m / 1000) + " km" : num(bar_m) + " m",
           "font-size=\"12\" text-anchor=\"middle\"");
  svg << "</g>\n";
  svg.text(right - 8, plan_bottom - 10,
           "x and y in metres from the start; the line starts heading up the page; grey dashes: "
           "the plan's run past the line's end",
           "font-size=\"10\" text-anchor=\"end\" fill=\"#555\"");
  svg << "</g>\n";
}

void draw_axis(svg_writer& svg, const chainage_axis& axis) {
  svg << "<g id=\"chainage-axis\" font-size=\"11\" text-anchor=\"middle\">\n";
  const double step_km = nice_step(axis.span / 1000 / 20);
  for (double k = 0; k * 1000 <= axis.span + 0.5; k += step_km) {
    const double x = axis.x(k * 1000);
    svg.line(x, gradient_top, x, marks_bottom, "stroke=\"#e4e4e4\"");
    svg.line(x, marks_bottom, x, marks_bottom + 5, "stroke=\"#000\"");
    svg.text(x, axis_labels, num(k));
  }
  svg.line(left, marks_bottom, right, marks_bottom, "stroke=\"#000\"");
  svg.text(right, axis_labels + 16, "chainage in km", "text-anchor=\"end\"");
  svg << "</g>\n";
}

void panel_frame(svg_writer& svg, double top, double bottom, std::string_view title) {
  svg << "<rect x=\"" << num(left) << "\" y=\"" << num(top) << "\" width=\"" << num(plot_width)
      << "\" height=\"" << num(bottom - top) << "\" fill=\"none\" stroke=\"#999\"/>\n";
  svg.text(left - 8, top + 12, title, "font-size=\"12\" text-anchor=\"end\" font-weight=\"bold\"");
}

// A step line through (chainage, value) pairs, each value holding to the next.
std::string step_points(const chainage_axis& axis, const std::vector<std::pair<double, double>>& v,
                        double end, const std::function<double(double)>& y) {
  std::string points;
  for (std::size_t i = 0; i < v.size(); ++i) {
    const double to = i + 1 < v.size() ? v[i + 1].first : end;
    points += num(axis.x(v[i].first)) + "," + num(y(v[i].second)) + " " + num(axis.x(to)) + "," +
              num(y(v[i].second)) + " ";
  }
  return points;
}

void draw_gradient(svg_writer& svg, const line_picture& p, const chainage_axis& axis) {
  svg << "<g id=\"gradient\">\n";
  panel_frame(svg, gradient_top, gradient_bottom, "gradient ‰");
  // Cells the gradient fill reached hold gradient + 100; the last three hold 0.
  std::vector<std::pair<double, double>> steps;
  double low = 0, high = 0;
  const std::size_t cells = std::min(p.cells.size(), static_cast<std::size_t>(axis.span / 50) + 1);
  for (std::size_t i = 0; i < cells; ++i) {
    const double g = static_cast<double>(p.cells[i].gradient) - 100;
    if (p.cells[i].gradient == 0) continue;
    low = std::min(low, g);
    high = std::max(high, g);
    if (steps.empty() || steps.back().second != g) steps.emplace_back(i * 50.0, g);
  }
  const double reach = nice_step(std::max({std::fabs(low), std::fabs(high), 5.0}) / 2) * 2;
  const auto y = [&](double g) {
    const double mid = (gradient_top + gradient_bottom) / 2;
    return mid - g / reach * (gradient_bottom - gradient_top) / 2 * 0.9;
  };
  svg.line(left, y(0), right, y(0), "stroke=\"#888\" stroke-dasharray=\"3 3\"");
  for (double g : {-reach, 0.0, reach}) {
    svg.text(left + 4, y(g) - 2, num(g), "font-size=\"10\" fill=\"#555\"");
  }
  svg << "<polyline class=\"gradient-line\" fill=\"none\" stroke=\"#8e5a2b\" stroke-width=\"1.5\" "
         "points=\""
      << step_points(axis, steps, axis.span, y) << "\"/>\n";
  svg << "</g>\n";
}

void draw_curves(svg_writer& svg, const line_picture& p, const chainage_axis& axis) {
  svg << "<g id=\"curves\">\n";
  panel_frame(svg, curves_top, curves_bottom, "curves");
  const double mid = (curves_top + curves_bottom) / 2;
  svg.text(left - 8, curves_bottom - 2, "right ▲ left ▼", "font-size=\"9\" text-anchor=\"end\"");
  svg.line(left, mid, right, mid, "stroke=\"#bbb\"");
  if (p.plan.exists()) {
    const std::int32_t last =
        std::min<std::int32_t>(p.plan.last_metre() - 2, static_cast<std::int32_t>(axis.span));
    for (const curve_stretch& c : curves_of(p.plan, last)) {
      const bool right_turn = c.curvature > 0;
      const double x1 = axis.x(c.first);
      const double x2 = std::max(axis.x(c.last + 1), x1 + 1);
      svg << "<rect class=\"" << (right_turn ? "curve-right" : "curve-left") << "\" x=\"" << num(x1)
          << "\" y=\"" << num(right_turn ? curves_top + 4 : mid) << "\" width=\"" << num(x2 - x1)
          << "\" height=\"" << num(mid - curves_top - 4) << "\" fill=\""
          << (right_turn ? "#d35400" : "#2874a6") << "\"><title>" << (right_turn ? "right" : "left")
          << " curve, " << km(c.first) << " to " << km(c.last + 1) << ", radius about "
          << num(std::round(1 / std::fabs(c.curvature))) << " m</title></rect>\n";
    }
  } else {
    svg.text(left + 6, mid + 4, "no track plan: curves unknown", "font-size=\"10\"");
  }
  svg << "</g>\n";
}

// An indicator's packed speed: rank speed x 20 + the other track's speed / 5,
// both multiples of 5 km/h, so the hundreds give the first.
double indicator_speed(std::int16_t packed) {
  return 5.0 * std::floor(packed / 100.0);
}

void draw_speeds(svg_writer& svg, const line_picture& p, const chainage_axis& axis) {
  svg << "<g id=\"speeds\">\n";
  panel_frame(svg, speed_top, speed_bottom, "speed km/h");
  const std::size_t cells = std::min(p.cells.size(), static_cast<std::size_t>(axis.span / 50) + 1);
  std::vector<std::pair<double, double>> line_speed;
  std::vector<std::pair<double, double>> ranks[3];
  double top = 100;
  for (std::size_t i = 0; i < cells; ++i) {
    const model::track_cell& c = p.cells[i];
    const double v = c.speed_limit * 5.0;
    if (c.speed_limit != 0 && (line_speed.empty() || line_speed.back().second != v)) {
      line_speed.emplace_back(i * 50.0, v);
    }
    top = std::max(top, v);
    if (c.kind == model::cell_kind::speed_indicator) {
      const std::int16_t packed[3] = {c.value, c.value2, c.value3};
      for (int r = 0; r < 3; ++r) {
        ranks[r].emplace_back(i * 50.0, indicator_speed(packed[r]));
        top = std::max(top, indicator_speed(packed[r]));
      }
    }
  }
  top = std::min(std::ceil(top / 20) * 20 + 20, 400.0);
  const auto y = [&](double v) {
    return speed_bottom - std::clamp(v, 0.0, top) / top * (speed_bottom - speed_top - 10);
  };
  for (double v = 0; v <= top; v += top > 200 ? 100 : 50) {
    svg.line(left, y(v), right, y(v), "stroke=\"#eee\"");
    svg.text(left + 4, y(v) - 2, num(v), "font-size=\"10\" fill=\"#555\"");
  }
  // Slowdowns: their speed from start to the next end cell (the last cell
  // when none follows).
  std::vector<std::size_t> next_end(p.cells.size() + 1, p.cells.size());
  for (std::size_t i = p.cells.size(); i-- > 0;) {
    next_end[i] = p.cells[i].kind == model::cell_kind::slowdown_end ? i : next_end[i + 1];
  }
  for (std::size_t i = 0; i < cells; ++i) {
    if (p.cells[i].kind != model::cell_kind::slowdown_start) continue;
    const std::size_t e = next_end[i + 1];
    svg.line(axis.x(i * 50.0), y(p.cells[i].value), axis.x(e * 50.0), y(p.cells[i].value),
             "stroke=\"#c0392b\" stroke-width=\"3\" class=\"slowdown-speed\"");
  }
  svg << "<polyline class=\"line-speed\" fill=\"none\" stroke=\"#7f8c8d\" stroke-width=\"2\" "
         "stroke-dasharray=\"5 3\" points=\""
      << step_points(axis, line_speed, axis.span, y) << "\"/>\n";
  const char* colours[3] = {"#117a65", "#b9770e", "#6c3483"};
  for (int r = 0; r < 3; ++r) {
    svg << "<polyline class=\"indicator-speed-" << std::string(1, "ABC"[r])
        << "\" fill=\"none\" stroke=\"" << colours[r] << "\" stroke-width=\""
        << (r == 0 ? "2" : "1.2") << "\" points=\"" << step_points(axis, ranks[r], axis.span, y)
        << "\"/>\n";
  }
  svg << "</g>\n";
}

void draw_marks(svg_writer& svg, const line_picture& p, const chainage_axis& axis) {
  svg << "<g id=\"marks\">\n";
  panel_frame(svg, signals_row - 20, marks_bottom, "");
  svg.text(left - 8, signals_row + 4, "signals", "font-size=\"11\" text-anchor=\"end\"");
  svg.text(left - 8, slowdowns_row + 4, "slowdowns", "font-size=\"11\" text-anchor=\"end\"");
  svg.text(left - 8, points_row + 4, "speed points", "font-size=\"11\" text-anchor=\"end\"");
  for (std::size_t i = 0; i < p.cells.size(); ++i) {
    const model::track_cell& c = p.cells[i];
    const double x = axis.x(i * 50.0);
    const std::string where = km(static_cast<std::int64_t>(i) * 50);
    switch (c.kind) {
      case model::cell_kind::signal:
        svg << "<g class=\"signal-mark\"><title>signal, cell " << std::to_string(i) << ", " << where
            << ", value " << std::to_string(c.value) << "</title>";
        svg.line(x, signals_row + 8, x, signals_row - 6, "stroke=\"#000\"");
        svg << "<circle cx=\"" << num(x) << "\" cy=\"" << num(signals_row - 9)
            << "\" r=\"3.5\" fill=\"#1e8449\" stroke=\"#000\" stroke-width=\"0.8\"/></g>\n";
        break;
      case model::cell_kind::slowdown_warning:
        svg << "<path class=\"slowdown-warning\" d=\"M" << num(x) << " " << num(slowdowns_row - 7)
            << " l6 11 h-12 z\" fill=\"#f4d03f\" stroke=\"#000\" stroke-width=\"0.8\"><title>"
            << "slowdown warning, " << where << ", " << std::to_string(c.value)
            << " km/h</title></path>\n";
        break;
      case model::cell_kind::slowdown_start:
      case model::cell_kind::slowdown_end: {
        const bool start = c.kind == model::cell_kind::slowdown_start;
        svg << "<rect class=\"" << (start ? "slowdown-start" : "slowdown-end") << "\" x=\""
            << num(x - 4) << "\" y=\"" << num(slowdowns_row - 5) << "\" width=\"8\" height=\"10\" "
            << "fill=\"" << (start ? "#c0392b" : "#27ae60") << "\"><title>slowdown "
            << (start ? "start" : "end") << ", " << where << ", " << std::to_string(c.value)
            << " km/h</title></rect>\n";
        if (start) {
          svg.text(x + 6, slowdowns_row - 8, std::to_string(c.value),
                   "font-size=\"10\" fill=\"#c0392b\"");
        }
        break;
      }
      case model::cell_kind::speed_point:
      case model::cell_kind::speed_point_without_speed: {
        std::string kind = "speed-point";
        std::string label = "speed point";
        if (p.cells_before_walk) {
          const bool from_texts =
              i < p.cells_before_walk->size() && (*p.cells_before_walk)[i].kind == c.kind;
          kind = from_texts ? "speed-point-text" : "speed-point-walk";
          label = from_texts ? "speed point from the texts" : "speed point added by the walk";
        }
        const std::string speed = c.kind == model::cell_kind::speed_point
                                      ? std::to_string(c.value) + " km/h"
                                      : "no speed";
        if (kind == "speed-point-walk") {
          svg << "<path class=\"" << kind << "\" d=\"M" << num(x) << " " << num(points_row - 6)
              << " l5 6 l-5 6 l-5 -6 z\" fill=\"#e67e22\"><title>" << label << ", " << where << ", "
              << speed << "</title></path>\n";
        } else {
          svg << "<circle class=\"" << kind << "\" cx=\"" << num(x) << "\" cy=\"" << num(points_row)
              << "\" r=\"4\" fill=\"" << (kind == "speed-point" ? "#7f8c8d" : "#2e86c1")
              << "\"><title>" << label << ", " << where << ", " << speed << "</title></circle>\n";
        }
        break;
      }
      default:
        break;
    }
  }
  svg << "</g>\n";
}

void draw_stations(svg_writer& svg, const line_picture& p, const chainage_axis& axis) {
  svg << "<g id=\"stations\">\n";
  for (std::size_t i = 1; i < p.stations.size() && i <= 80; ++i) {
    const model::station_entry& e = p.stations[i];
    if (station_role(static_cast<int>(i), e) != "station") continue;
    const double x = axis.x(e.position);
    svg.line(x, names_bottom, x, marks_bottom, "stroke=\"#c0392b\" stroke-opacity=\"0.35\"");
    svg << "<path class=\"station-mark\" d=\"M" << num(x - 5) << " " << num(names_bottom - 8)
        << " h10 l-5 8 z\" fill=\"#c0392b\"><title>" << stored(e.name) << ", " << km(e.position)
        << (e.time != 0 ? ", " + clock_text(e.time) : std::string()) << "</title></path>\n";
    svg << "<text class=\"station-name\" font-size=\"11\" transform=\"translate(" << num(x + 3)
        << " " << num(names_bottom - 11) << ") rotate(-35)\">" << stored(e.name) << "</text>\n";
  }
  svg << "</g>\n";
}

void draw_legend(svg_writer& svg, const line_picture& p) {
  svg << "<g id=\"legend\" font-size=\"11\">\n";
  double x = left;
  const double y = legend_top;
  const auto item = [&](std::string_view symbol, std::string_view label) {
    svg << "<g transform=\"translate(" << num(x) << " " << num(y) << ")\">" << symbol << "</g>\n";
    svg.text(x + 14, y + 4, label);
    x += 14 + 6.5 * static_cast<double>(label.size()) + 22;
  };
  item("<circle r=\"3.5\" fill=\"#1e8449\" stroke=\"#000\" stroke-width=\"0.8\"/>", "signal");
  item("<path d=\"M0 -6 l6 11 h-12 z\" fill=\"#f4d03f\" stroke=\"#000\" stroke-width=\"0.8\"/>",
       "slowdown warning");
  item("<rect x=\"-4\" y=\"-5\" width=\"8\" height=\"10\" fill=\"#c0392b\"/>",
       "slowdown start (speed)");
  item("<rect x=\"-4\" y=\"-5\" width=\"8\" height=\"10\" fill=\"#27ae60\"/>", "slowdown end");
  if (p.cells_before_walk) {
    item("<circle r=\"4\" fill=\"#2e86c1\"/>", "speed point from the texts");
    item("<path d=\"M0 -6 l5 6 l-5 6 l-5 -6 z\" fill=\"#e67e22\"/>",
         "speed point added by the walk");
  } else {
    item("<circle r=\"4\" fill=\"#7f8c8d\"/>", "speed point");
  }
  x = left;
  const double y2 = y + 24;
  const auto swatch = [&](std::string_view stroke, std::string_view label) {
    svg << "<line x1=\"" << num(x - 6) << "\" y1=\"" << num(y2) << "\" x2=\"" << num(x + 8)
        << "\" y2=\"" << num(y2) << "\" " << stroke << "/>\n";
    svg.text(x + 14, y2 + 4, label);
    x += 14 + 6.5 * static_cast<double>(label.size()) + 22;
  };
  swatch("stroke=\"#117a65\" stroke-width=\"2\"", "indicator speed, rank A");
  swatch("stroke=\"#b9770e\" stroke-width=\"1.2\"", "rank B");
  swatch("stroke=\"#6c3483\" stroke-width=\"1.2\"", "rank C");
  swatch("stroke=\"#7f8c8d\" stroke-width=\"2\" stroke-dasharray=\"5 3\"",
         "line speed of the train");
  swatch("stroke=\"#c0392b\" stroke-width=\"3\"", "slowdown speed");
  swatch("stroke=\"#d35400\" stroke-width=\"6\"", "right curve");
  swatch("stroke=\"#2874a6\" stroke-width=\"6\"", "left curve");
  if (!p.cells_before_walk) {
    svg.text(left, y2 + 26,
             "Drawn from compiled files alone: the speed points that the compiler's walk adds "
             "cannot be told from those the texts give, so all are shown alike.",
             "font-size=\"11\" fill=\"#555\"");
  }
  svg << "</g>\n";
}

}  // namespace

std::string draw_svg(const line_picture& p) {
  svg_writer svg;
  const double height = page_height + 16 * static_cast<double>(p.notes.size());
  svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << num(page_width) << "\" height=\""
      << num(height) << "\" viewBox=\"0 0 " << num(page_width) << " " << num(height)
      << "\" font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\">\n";
  const std::string title = stored(p.route_id) + " — train " + stored(p.train_number);
  svg << "<title>" << title << "</title>\n";
  svg << "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
  svg.text(left, 32, title, "font-size=\"22\" font-weight=\"bold\"");

  // Check codes as stored, against those of the names in the station table.
  std::string codes = "check codes: ";
  const bool have_header =
      p.stations.size() > static_cast<std::size_t>(model::entry::train_header) &&
      p.cells.size() > 1;
  if (have_header) {
    const std::string& train = p.stations[model::entry::train_header].name;
    const std::string& route = p.stations[model::entry::route_header].name;
    const std::int32_t weighted = p.stations[model::entry::route_header].time;
    const std::int32_t plain = p.cells[1].value2;
    const bool ok = weighted == assembly::weighted_check_code(train, route) &&
                    plain == assembly::plain_check_code(train, route);
    codes += "weighted " + std::to_string(weighted) + ", plain " + std::to_string(plain) +
             (ok ? " (both match the route and train)" : " (MISMATCH with the route and train)");
  } else {
    codes += "not available";
  }
  codes += "; line length " + km(p.line_length);
  svg.text(left, 54, xml(codes), "font-size=\"13\"");
  svg.text(left, 72, xml(p.source), "font-size=\"11\" fill=\"#555\"");

  std::int64_t span = std::max<std::int64_t>(p.line_length, 1000);
  for (std::size_t i = 1; i < p.stations.size() && i <= 80; ++i) {
    if (station_role(static_cast<int>(i), p.stations[i]) == "station") {
      span = std::max<std::int64_t>(span, std::int64_t{p.stations[i].position} + 500);
    }
  }
  const chainage_axis axis{static_cast<double>(span)};

  draw_plan(svg, p);
  draw_axis(svg, axis);
  draw_gradient(svg, p, axis);
  draw_curves(svg, p, axis);
  draw_speeds(svg, p, axis);
  draw_marks(svg, p, axis);
  draw_stations(svg, p, axis);
  draw_legend(svg, p);
  // What the compiler recorded, and any mismatch between the files, under the legend.
  double note_y = page_height - 30;
  for (const std::string& note : p.notes) {
    svg.text(left, note_y, xml(note), "font-size=\"12\" fill=\"#c0392b\" class=\"note\"");
    note_y += 16;
  }
  svg << "</svg>\n";
  return std::move(svg.out());
}

}  // namespace scenario_tool
