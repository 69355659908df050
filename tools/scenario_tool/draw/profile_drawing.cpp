// The bands under the plan: gradient, curves, speeds, marks and stations on
// one chainage axis.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "scenario_tool/draw/mark_looks.h"
#include "scenario_tool/draw/picture_parts.h"
#include "scenario_tool/draw/track_curves.h"
#include "scenario_tool/shared/record_fields.h"

namespace scenario_tool::drawing {

namespace {

void panel_frame(svg_writer& svg, double top, double bottom, std::string_view title) {
  svg << "<rect x=\"" << num(left) << "\" y=\"" << num(top) << "\" width=\"" << num(plot_width)
      << "\" height=\"" << num(bottom - top)
      << "\" fill=\"none\" stroke=\"" + std::string(frame_stroke) + "\"/>\n";
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

// About how wide a text of `size` px is: a sans-serif capital is about 0.7 em.
double text_width(std::string_view utf8, double size) {
  double letters = 0;
  for (const char c : utf8) letters += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 0 : 1;
  return letters * size * 0.72;
}

// The room a label starting at `from` has before the mark of the next cell of
// the same kind as cell i.
double room_to_next(const line_picture& p, const chainage_axis& axis, std::size_t i, double from) {
  for (std::size_t next = i + 1; next < p.cells.size(); ++next) {
    if (p.cells[next].kind == p.cells[i].kind) return axis.x(next * 50.0) - 6 - from;
  }
  return right - from;
}

}  // namespace

std::string glyph_svg(glyph shape, double x, double y, std::string_view fill) {
  const std::string paint = "fill=\"" + std::string(fill) + "\" stroke=\"" + std::string(ink) +
                            "\" stroke-width=\"0.8\"/>";
  switch (shape) {
    case glyph::square:
      return "<rect x=\"" + num(x - 3.5) + "\" y=\"" + num(y - 3.5) +
             "\" width=\"7\" height=\"7\" " + paint;
    case glyph::triangle:
      return "<path d=\"M" + num(x) + " " + num(y - 4.5) + " l4.5 8 h-9 z\" " + paint;
    default:
      return "<circle cx=\"" + num(x) + "\" cy=\"" + num(y) + "\" r=\"3.5\" " + paint;
  }
}

void draw_mountain(svg_writer& svg, const line_picture& p, const chainage_axis& axis) {
  svg << "<g id=\"mountain\">\n";
  panel_frame(svg, mountain_top, mountain_bottom, "mountain side");
  svg.text(left - 8, mountain_top + 26, "adhesion",
           "font-size=\"11\" text-anchor=\"end\" fill=\"" + std::string(adhesion_stroke) + "\"");
  const std::size_t cells = std::min(p.cells.size(), static_cast<std::size_t>(axis.span / 50) + 1);
  // Each stretch of one side code as one bar; filler cells as darker marks in it.
  for (std::size_t i = 0; i < cells;) {
    const int code = p.cells[i].mountain % 10;
    std::size_t j = i + 1;
    while (j < cells && p.cells[j].mountain % 10 == code) ++j;
    if (code != 0) {
      const double x1 = axis.x(i * 50.0);
      const double x2 = std::max(axis.x(j * 50.0), x1 + 1);
      svg << "<rect class=\"mountain-stretch\" x=\"" << num(x1) << "\" y=\""
          << num(mountain_top + 3) << "\" width=\"" << num(x2 - x1) << "\" height=\"14\" fill=\""
          << mountain_fill(code) << "\"><title>mountain side " << std::to_string(code) << ", "
          << km(static_cast<std::int64_t>(i) * 50) << " to "
          << km(static_cast<std::int64_t>(j) * 50) << "</title></rect>\n";
    }
    i = j;
  }
  std::string fillers;
  for (std::size_t i = 0; i < cells; ++i) {
    if (p.cells[i].kind != model::cell_kind::mountain_filler) continue;
    const double x = axis.x(i * 50.0);
    fillers += 'M';
    fillers += num(x);
    fillers += ' ';
    fillers += num(mountain_top + 6);
    fillers += " v8 ";
  }
  if (!fillers.empty()) {
    svg << "<path class=\"mountain-filler\" d=\"" << fillers << "\" stroke=\""
        << mountain_filler_fill << "\" stroke-width=\"1\"/>\n";
  }
  // Adhesion: a step line against the highest value the line holds.
  std::vector<std::pair<double, double>> steps;
  double high = 1;
  for (std::size_t i = 0; i < cells; ++i) {
    const double a = p.cells[i].adhesion;
    high = std::max(high, a);
    if (steps.empty() || steps.back().second != a) steps.emplace_back(i * 50.0, a);
  }
  const auto y = [&](double a) {
    return mountain_bottom - 3 - a / high * (mountain_bottom - mountain_top - 22);
  };
  svg << "<polyline class=\"adhesion-line\" fill=\"none\" stroke=\"" << adhesion_stroke
      << "\" stroke-width=\"1.2\" points=\"" << step_points(axis, steps, axis.span, y) << "\"/>\n";
  svg.text(right - 4, mountain_bottom - 4, "adhesion up to " + num(high),
           "font-size=\"9\" text-anchor=\"end\" fill=\"" + std::string(note_fill) + "\"");
  svg << "</g>\n";
}

void draw_axis(svg_writer& svg, const chainage_axis& axis) {
  svg << "<g id=\"chainage-axis\" font-size=\"11\" text-anchor=\"middle\">\n";
  const double step_km = nice_step(axis.span / 1000 / 20);
  for (double k = 0; k * 1000 <= axis.span + 0.5; k += step_km) {
    const double x = axis.x(k * 1000);
    svg.line(x, gradient_top, x, marks_bottom, "stroke=\"" + std::string(grid_stroke) + "\"");
    svg.line(x, marks_bottom, x, marks_bottom + 5, "stroke=\"" + std::string(ink) + "\"");
    svg.text(x, axis_labels, num(k));
  }
  svg.line(left, marks_bottom, right, marks_bottom, "stroke=\"" + std::string(ink) + "\"");
  svg.text(right, axis_labels + 16, "chainage in km", "text-anchor=\"end\"");
  svg << "</g>\n";
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
  svg.line(left, y(0), right, y(0),
           "stroke=\"" + std::string(gradient_level_stroke) + "\" stroke-dasharray=\"3 3\"");
  for (double g : {-reach, 0.0, reach}) {
    svg.text(left + 4, y(g) - 2, num(g),
             "font-size=\"10\" fill=\"" + std::string(note_fill) + "\"");
  }
  svg << "<polyline class=\"gradient-line\" fill=\"none\" stroke=\"" +
             std::string(gradient_stroke) +
             "\" stroke-width=\"1.5\" "
             "points=\""
      << step_points(axis, steps, axis.span, y) << "\"/>\n";
  svg << "</g>\n";
}

void draw_curves(svg_writer& svg, const line_picture& p, const chainage_axis& axis) {
  svg << "<g id=\"curves\">\n";
  panel_frame(svg, curves_top, curves_bottom, "curves");
  const double mid = (curves_top + curves_bottom) / 2;
  svg.text(left - 8, curves_bottom - 2, "right ▲ left ▼", "font-size=\"9\" text-anchor=\"end\"");
  svg.text(left - 8, curves_top + 24, "depth 1/R", "font-size=\"9\" text-anchor=\"end\"");
  svg.line(left, mid, right, mid, "stroke=\"" + std::string(curve_axis_stroke) + "\"");
  if (p.plan.exists()) {
    const std::int32_t last =
        std::min<std::int32_t>(p.plan.last_metre() - 2, static_cast<std::int32_t>(axis.span));
    for (const curve_stretch& c : curves_of(p.plan, last)) {
      const bool right_turn = c.curvature > 0;
      const double x1 = axis.x(c.first);
      const double x2 = std::max(axis.x(c.last + 1), x1 + 1);
      // Tight curves reach the band's edge, gentle ones stay near its middle.
      const double depth = curve_depth(1 / std::fabs(c.curvature)) * (mid - curves_top - 3);
      svg << "<rect class=\"" << (right_turn ? "curve-right" : "curve-left") << "\" x=\"" << num(x1)
          << "\" y=\"" << num(right_turn ? mid - depth : mid) << "\" width=\"" << num(x2 - x1)
          << "\" height=\"" << num(depth) << "\" fill=\""
          << (right_turn ? right_curve_fill : left_curve_fill) << "\"><title>"
          << (right_turn ? "right" : "left") << " curve, " << km(c.first) << " to "
          << km(c.last + 1) << ", radius about " << num(std::round(1 / std::fabs(c.curvature)))
          << " m</title></rect>\n";
    }
  } else {
    svg.text(left + 6, mid + 4, "no track plan: curves unknown", "font-size=\"10\"");
  }
  svg << "</g>\n";
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
      const std::array<double, 3> speeds = indicator_speeds(c);
      for (std::size_t r = 0; r < 3; ++r) {
        ranks[r].emplace_back(i * 50.0, speeds[r]);
        top = std::max(top, speeds[r]);
      }
    }
  }
  top = std::min(std::ceil(top / 20) * 20 + 20, 400.0);
  const auto y = [&](double v) {
    return speed_bottom - std::clamp(v, 0.0, top) / top * (speed_bottom - speed_top - 10);
  };
  for (double v = 0; v <= top; v += top > 200 ? 100 : 50) {
    svg.line(left, y(v), right, y(v), "stroke=\"#eee\"");
    svg.text(left + 4, y(v) - 2, num(v),
             "font-size=\"10\" fill=\"" + std::string(note_fill) + "\"");
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
             "stroke=\"" + std::string(slowdown_speed_stroke) +
                 "\" stroke-width=\"3\" class=\"slowdown-speed\"");
  }
  svg << "<polyline class=\"line-speed\" fill=\"none\" stroke=\"" + std::string(line_speed_stroke) +
             "\" stroke-width=\"2\" "
             "stroke-dasharray=\"5 3\" points=\""
      << step_points(axis, line_speed, axis.span, y) << "\"/>\n";
  for (std::size_t r = 0; r < 3; ++r) {
    svg << "<polyline class=\"indicator-speed-" << std::string(1, "ABC"[r])
        << "\" fill=\"none\" stroke=\"" << rank_strokes[r] << "\" stroke-width=\""
        << (r == 0 ? "2" : "1.2") << "\" points=\"" << step_points(axis, ranks[r], axis.span, y)
        << "\"/>\n";
  }
  svg << "</g>\n";
}

void draw_marks(svg_writer& svg, const line_picture& p, const chainage_axis& axis) {
  svg << "<g id=\"marks\">\n";
  panel_frame(svg, signals_row - 20, marks_bottom, "");
  svg.text(left - 8, signals_row + 4, "signals", "font-size=\"11\" text-anchor=\"end\"");
  svg.text(left - 8, boards_row + 4, "boards", "font-size=\"11\" text-anchor=\"end\"");
  svg.text(left - 8, indicators_row + 4, "speed indicators",
           "font-size=\"11\" text-anchor=\"end\"");
  svg.text(left - 8, slowdowns_row + 4, "slowdowns", "font-size=\"11\" text-anchor=\"end\"");
  svg.text(left - 8, points_row + 4, "speed points", "font-size=\"11\" text-anchor=\"end\"");
  double board_text_end = 0;  // where the last lettering drawn ends
  double indicator_text_end = 0;
  for (std::size_t i = 0; i < p.cells.size(); ++i) {
    const model::track_cell& c = p.cells[i];
    const double x = axis.x(i * 50.0);
    const std::string where = km(static_cast<std::int64_t>(i) * 50);
    switch (c.kind) {
      case model::cell_kind::signal: {
        const signal_look look = look_of_signal(c.value4);
        svg << "<g class=\"signal-mark\" data-left-kind=\"" << std::to_string(look.left_kind)
            << "\" data-right-kind=\"" << std::to_string(look.right_kind) << "\"><title>"
            << cell_kind_name(c.kind) << ", cell " << std::to_string(i) << ", " << where
            << ", left kind " << std::to_string(look.left_kind) << ", right kind "
            << std::to_string(look.right_kind) << ", RAPP " << std::to_string(look.rapp)
            << "</title>";
        svg.line(x, signals_row + 8, x, signals_row - 6, "stroke=\"" + std::string(ink) + "\"");
        svg << glyph_svg(look.shape, x, signals_row - 10, look.fill) << "</g>\n";
        if (look.rapp != 0) {
          svg.text(x + 6, signals_row + 6, std::to_string(look.rapp), "font-size=\"8\"");
        }
        break;
      }
      case model::cell_kind::sign: {
        const std::string lettering =
            c.value > 0 && static_cast<std::size_t>(c.value) < p.stations.size()
                ? stored(p.stations[static_cast<std::size_t>(c.value)].name)
                : std::string();
        svg << "<g class=\"board-mark\"><title>" << cell_kind_name(c.kind) << ", cell "
            << std::to_string(i) << ", " << where
            << (lettering.empty() ? std::string() : ", " + lettering) << "</title><rect x=\""
            << num(x - 5) << "\" y=\"" << num(boards_row - 5) << "\" width=\"10\" height=\"8\" "
            << "fill=\"" + std::string(board_fill) + "\" stroke=\"" << board_stroke << "\"/></g>\n";
        // The lettering where it runs into neither the one before nor the next board.
        const double room = room_to_next(p, axis, i, x + 7);
        if (x + 7 >= board_text_end && text_width(lettering, 9) <= room) {
          svg.text(x + 7, boards_row + 3, lettering,
                   "font-size=\"9\" fill=\"" + std::string(board_stroke) +
                       "\" class=\"board-lettering\"");
          board_text_end = x + 7 + text_width(lettering, 9) + 4;
        }
        break;
      }
      case model::cell_kind::speed_indicator: {
        const std::array<double, 3> speeds = indicator_speeds(c);
        svg << "<rect class=\"indicator-mark\" x=\"" << num(x - 4) << "\" y=\""
            << num(indicators_row - 6) << "\" width=\"8\" height=\"8\" fill=\"" << indicator_fill
            << "\"><title>" << cell_kind_name(c.kind) << ", " << where << ", ranks A "
            << num(speeds[0]) << ", B " << num(speeds[1]) << ", C " << num(speeds[2])
            << " km/h</title></rect>\n";
        if (x + 6 >= indicator_text_end &&
            text_width(num(speeds[0]), 9) <= room_to_next(p, axis, i, x + 6)) {
          svg.text(x + 6, indicators_row + 2, num(speeds[0]),
                   "font-size=\"9\" fill=\"" + std::string(indicator_fill) + "\"");
          indicator_text_end = x + 6 + text_width(num(speeds[0]), 9) + 4;
        }
        break;
      }
      case model::cell_kind::slowdown_warning:
        svg << "<path class=\"slowdown-warning\" d=\"M" << num(x) << " " << num(slowdowns_row - 7)
            << " l6 11 h-12 z\" fill=\"" + std::string(slowdown_warning_fill) + "\" stroke=\"" +
                   std::string(ink) + "\" stroke-width=\"0.8\"><title>"
            << cell_kind_name(c.kind) << ", " << where << ", " << std::to_string(c.value)
            << " km/h</title></path>\n";
        break;
      case model::cell_kind::slowdown_start:
      case model::cell_kind::slowdown_end: {
        const bool start = c.kind == model::cell_kind::slowdown_start;
        svg << "<rect class=\"" << (start ? "slowdown-start" : "slowdown-end") << "\" x=\""
            << num(x - 4) << "\" y=\"" << num(slowdowns_row - 5) << "\" width=\"8\" height=\"10\" "
            << "fill=\"" << slowdown_fill(c.kind) << "\"><title>" << cell_kind_name(c.kind) << ", "
            << where << ", " << std::to_string(c.value) << " km/h</title></rect>\n";
        if (start) {
          svg.text(x + 6, slowdowns_row - 8, std::to_string(c.value),
                   "font-size=\"10\" fill=\"" + std::string(slowdown_start_fill) + "\"");
        }
        break;
      }
      case model::cell_kind::speed_point:
      case model::cell_kind::speed_point_without_speed: {
        std::string kind = "speed-point";
        std::string label = cell_kind_name(model::cell_kind::speed_point);
        if (p.cells_before_walk) {
          const bool from_texts =
              i < p.cells_before_walk->size() && (*p.cells_before_walk)[i].kind == c.kind;
          kind = from_texts ? "speed-point-text" : "speed-point-walk";
          label += from_texts ? " from the texts" : " added by the walk";
        }
        const std::string speed = c.kind == model::cell_kind::speed_point
                                      ? std::to_string(c.value) + " km/h"
                                      : "no speed";
        if (kind == "speed-point-walk") {
          svg << "<path class=\"" << kind << "\" d=\"M" << num(x) << " " << num(points_row - 6)
              << " l5 6 l-5 6 l-5 -6 z\" fill=\"" << walk_point_fill << "\"><title>" << label
              << ", " << where << ", " << speed << "</title></path>\n";
        } else {
          svg << "<circle class=\"" << kind << "\" cx=\"" << num(x) << "\" cy=\"" << num(points_row)
              << "\" r=\"4\" fill=\""
              << (kind == "speed-point" ? unknown_point_fill : text_point_fill) << "\"><title>"
              << label << ", " << where << ", " << speed << "</title></circle>\n";
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
    if (station_role_of(static_cast<int>(i), e) != model::station_role::station) continue;
    const double x = axis.x(e.position);
    svg.line(x, names_bottom, x, marks_bottom,
             "stroke=\"" + std::string(station_colour) + "\" stroke-opacity=\"" +
                 std::string(station_guide_opacity) + "\"");
    const bool stops = train_stops(e);
    svg << "<path class=\"station-mark\" data-stops=\"" << (stops ? "true" : "false") << "\" d=\"M"
        << num(x - 5) << " " << num(names_bottom - 8) << " h10 l-5 8 z\" fill=\""
        << (stops ? station_colour : hollow_fill) << "\" stroke=\"" << station_colour
        << "\"><title>" << stored(e.name) << ", " << km(e.position)
        << (e.time != 0 ? ", " + clock_text(e.time) : std::string())
        << (stops ? ", the train stops" : ", the train passes") << "</title></path>\n";
    svg << "<text class=\"station-name\" font-size=\"11\" transform=\"translate(" << num(x + 3)
        << " " << num(names_bottom - 11) << ") rotate(-35)\">" << stored(e.name) << "</text>\n";
  }
  svg << "</g>\n";
}

void draw_line_end(svg_writer& svg, const line_picture& p, const chainage_axis& axis) {
  if (p.line_length <= 0 || p.line_length >= axis.span) return;
  const double x = axis.x(p.line_length);
  svg << "<g id=\"line-end\" class=\"line-end\">\n";
  svg.line(x, gradient_top - 10, x, marks_bottom,
           "stroke=\"" + std::string(line_end_stroke) +
               "\" stroke-width=\"1.5\" stroke-dasharray=\"6,4\"");
  svg.text(x - 4, gradient_top - 2, "end of line, " + num(p.line_length / 1000.0) + " km",
           "font-size=\"11\" fill=\"" + std::string(line_end_stroke) + "\" text-anchor=\"end\"");
  svg << "</g>\n";
}

}  // namespace scenario_tool::drawing
