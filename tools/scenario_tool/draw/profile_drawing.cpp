// The bands under the plan: gradient, curves, speeds, marks and stations on
// one chainage axis.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "scenario_tool/draw/label_font.h"
#include "scenario_tool/draw/label_rules.h"
#include "scenario_tool/draw/mark_looks.h"
#include "scenario_tool/draw/picture_parts.h"
#include "scenario_tool/draw/track_curves.h"
#include "scenario_tool/shared/record_fields.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool::drawing {

namespace {

void panel_frame(svg_writer& svg, label_placer& labels, double top, double bottom,
                 std::string title) {
  svg << "<rect x=\"" << num(left) << "\" y=\"" << num(top) << "\" width=\"" << num(plot_width)
      << "\" height=\"" << num(bottom - top)
      << "\" fill=\"none\" stroke=\"" + std::string(frame_stroke) + "\"/>\n";
  if (!title.empty()) offer_title(labels, top, bottom, std::move(title));
}

std::string fill_of(std::string_view colour) {
  return "fill=\"" + std::string(colour) + "\"";
}

// A scale's value in the margin beside the band's frame, level with its
// height y (kept inside the band at its top and bottom), and a tick inside
// the frame.
void scale_value(svg_writer& svg, label_placer& labels, double top, double bottom, std::string text,
                 double y) {
  svg.line(left, y, left + 4, y, "stroke=\"" + std::string(note_fill) + "\"");
  const double ascent = font_ascent * label_font_size;
  const double descent = font_descent * label_font_size;
  const double baseline = std::clamp(y + 4, top + ascent + 0.5, bottom - descent - 0.5);
  labels.offer({.texts = {std::move(text)},
                .attributes = fill_of(note_fill),
                .area = margin_area(top, bottom),
                .spots = {{left - label_rules::scale_clearance, baseline, label_align::right}},
                .priority = label_rules::scale});
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

}  // namespace

label_box plot_area(double top, double bottom) {
  return {left + 1, top + 1, right - 1, bottom - 1};
}

label_box margin_area(double top, double bottom) {
  return {0, top, left - 2, bottom};
}

void offer_title(label_placer& labels, double top, double bottom, std::string title) {
  const double baseline = top + 14;
  labels.offer({.texts = {std::move(title)},
                .attributes = fill_of(caption_fill),
                .area = margin_area(top, bottom),
                .spots = {{left - label_rules::title_clearance, baseline, label_align::right},
                          {left - label_rules::scale_clearance, baseline, label_align::right}},
                .priority = label_rules::caption});
}

void offer_margin_note(label_placer& labels, double top, double bottom, std::string text, double y,
                       std::string_view fill) {
  labels.offer({.texts = {std::move(text)},
                .attributes = fill_of(fill),
                .area = margin_area(top, bottom),
                .spots = {{left - label_rules::note_clearance, y, label_align::right}},
                .priority = label_rules::caption});
}

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

void draw_mountain(svg_writer& svg, label_placer& labels, const line_picture& p,
                   const chainage_axis& axis) {
  svg << "<g id=\"mountain\">\n";
  panel_frame(svg, labels, mountain_top, mountain_bottom, "mountain side");
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
  offer_margin_note(labels, mountain_top, mountain_bottom, "adhesion up to " + num(high),
                    mountain_top + 30, adhesion_stroke);
  svg << "</g>\n";
}

void draw_axis(svg_writer& svg, label_placer& labels, const chainage_axis& axis) {
  svg << "<g id=\"chainage-axis\">\n";
  // The values stand under their ticks; the first and last move in rather
  // than be cut by the frame's edge.
  const label_box area{left, marks_bottom + 6, right, legend_top - 8};
  const double step_km = nice_step(axis.span / 1000 / 20);
  for (double k = 0; k * 1000 <= axis.span + 0.5; k += step_km) {
    const double x = axis.x(k * 1000);
    svg.line(x, gradient_top, x, marks_bottom, "stroke=\"" + std::string(grid_stroke) + "\"");
    svg.line(x, marks_bottom, x, marks_bottom + 5, "stroke=\"" + std::string(ink) + "\"");
    labels.offer({.texts = {num(k)},
                  .attributes = fill_of(ink),
                  .area = area,
                  .spots = {{x, axis_labels, label_align::center, true}},
                  .priority = label_rules::caption,
                  .key = k * 1000,
                  .mark = x});
  }
  svg.line(left, marks_bottom, right, marks_bottom, "stroke=\"" + std::string(ink) + "\"");
  labels.offer({.texts = {"chainage in km"},
                .attributes = fill_of(caption_fill),
                .area = area,
                .spots = {{right, axis_labels + 16, label_align::right}},
                .priority = label_rules::caption,
                .key = axis.span + 1});
  svg << "</g>\n";
}

void draw_gradient(svg_writer& svg, label_placer& labels, const line_picture& p,
                   const chainage_axis& axis) {
  svg << "<g id=\"gradient\">\n";
  panel_frame(svg, labels, gradient_top, gradient_bottom, "gradient ‰");
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
  for (double g : {reach, 0.0, -reach}) {
    scale_value(svg, labels, gradient_top, gradient_bottom,
                g > 0   ? "+" + num(g)
                : g < 0 ? "−" + num(-g)
                        : "0",
                y(g));
  }
  svg << "<polyline class=\"gradient-line\" fill=\"none\" stroke=\"" +
             std::string(gradient_stroke) +
             "\" stroke-width=\"1.5\" "
             "points=\""
      << step_points(axis, steps, axis.span, y) << "\"/>\n";
  svg << "</g>\n";
}

void draw_curves(svg_writer& svg, label_placer& labels, const line_picture& p,
                 const chainage_axis& axis) {
  svg << "<g id=\"curves\">\n";
  panel_frame(svg, labels, curves_top, curves_bottom, "curves");
  const double mid = (curves_top + curves_bottom) / 2;
  offer_margin_note(labels, curves_top, curves_bottom, "depth 1/R", curves_top + 31, note_fill);
  offer_margin_note(labels, curves_top, curves_bottom, "right ▲ left ▼", curves_bottom - 4,
                    note_fill);
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
    labels.offer({.texts = {"no track plan: curves unknown"},
                  .attributes = fill_of(note_fill),
                  .area = plot_area(curves_top, curves_bottom),
                  .spots = {{left + 6, mid - 4}},
                  .priority = label_rules::caption});
  }
  svg << "</g>\n";
}

void draw_speeds(svg_writer& svg, label_placer& labels, const line_picture& p,
                 const chainage_axis& axis) {
  svg << "<g id=\"speeds\">\n";
  panel_frame(svg, labels, speed_top, speed_bottom, "speed km/h");
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
    scale_value(svg, labels, speed_top, speed_bottom, num(v), y(v));
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

void draw_marks(svg_writer& svg, label_placer& labels, const line_picture& p,
                const chainage_axis& axis) {
  svg << "<g id=\"marks\">\n";
  const double top = signals_row - 20;
  panel_frame(svg, labels, top, marks_bottom, "");
  for (const auto& [row, title] :
       {std::pair{signals_row, "signals"}, std::pair{boards_row, "boards"},
        std::pair{indicators_row, "speed indicators"}, std::pair{slowdowns_row, "slowdowns"},
        std::pair{points_row, "speed points"}}) {
    offer_margin_note(labels, top, marks_bottom, title, row + 4, caption_fill);
  }
  // Every label of the rows lies anywhere in the band, clear of every mark.
  const label_box area = plot_area(top, marks_bottom);
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
        labels.block({x - 5, signals_row - 15, x + 5, signals_row + 8});
        if (look.rapp != 0) {  // its RAPP field, beside the glyph
          labels.offer({.texts = {std::to_string(look.rapp)},
                        .attributes = fill_of(ink),
                        .area = area,
                        .spots = {{x + 6, signals_row + 4}},
                        .priority = label_rules::scale,
                        .key = i * 50.0,
                        .mark = x});
        }
        break;
      }
      case model::cell_kind::sign: {
        const std::string lettering =
            c.value > 0 && static_cast<std::size_t>(c.value) < p.stations.size()
                ? utf8_from_windows_1252(p.stations[static_cast<std::size_t>(c.value)].name)
                : std::string();
        svg << "<g class=\"board-mark\"><title>" << cell_kind_name(c.kind) << ", cell "
            << std::to_string(i) << ", " << where
            << (lettering.empty() ? std::string() : ", " + xml(lettering)) << "</title><rect x=\""
            << num(x - 5) << "\" y=\"" << num(boards_row - 5) << "\" width=\"10\" height=\"8\" "
            << "fill=\"" + std::string(board_fill) + "\" stroke=\"" << board_stroke << "\"/></g>\n";
        labels.block({x - 5, boards_row - 5, x + 5, boards_row + 3});
        // The whole lettering, else its first line with "…", after the board
        // or else before it; the hover text holds it all.
        // Written as the picture shows it: runs of spaces as one.
        std::string shown;
        for (const char ch : lettering) {
          if (ch != ' ' || (!shown.empty() && shown.back() != ' ')) shown.push_back(ch);
        }
        const std::size_t first = shown.find(')') + 1;
        const std::string first_line =
            first > 0 && first < shown.size() ? shown.substr(0, first) + "…" : std::string();
        labels.offer(
            {.texts = {shown, first_line},
             .attributes = fill_of(board_stroke) + " class=\"board-lettering\"",
             .area = area,
             .spots = {{x + 7, boards_row + 4}, {x - 7, boards_row + 4, label_align::right}},
             .priority = label_rules::lettering,
             .key = i * 50.0,
             .mark = x});
        break;
      }
      case model::cell_kind::speed_indicator: {
        const std::array<double, 3> speeds = indicator_speeds(c);
        svg << "<rect class=\"indicator-mark\" x=\"" << num(x - 4) << "\" y=\""
            << num(indicators_row - 6) << "\" width=\"8\" height=\"8\" fill=\"" << indicator_fill
            << "\"><title>" << cell_kind_name(c.kind) << ", " << where << ", ranks A "
            << num(speeds[0]) << ", B " << num(speeds[1]) << ", C " << num(speeds[2])
            << " km/h</title></rect>\n";
        labels.block({x - 4, indicators_row - 6, x + 4, indicators_row + 2});
        labels.offer({.texts = {num(speeds[0])},
                      .attributes = fill_of(indicator_fill),
                      .area = area,
                      .spots = {{x + 6, indicators_row + 3}},
                      .priority = label_rules::indicator,
                      .key = i * 50.0,
                      .mark = x});
        break;
      }
      case model::cell_kind::slowdown_warning:
        svg << "<path class=\"slowdown-warning\" d=\"M" << num(x) << " " << num(slowdowns_row - 7)
            << " l6 11 h-12 z\" fill=\"" + std::string(slowdown_warning_fill) + "\" stroke=\"" +
                   std::string(ink) + "\" stroke-width=\"0.8\"><title>"
            << cell_kind_name(c.kind) << ", " << where << ", " << std::to_string(c.value)
            << " km/h</title></path>\n";
        labels.block({x - 6, slowdowns_row - 7, x + 6, slowdowns_row + 4});
        break;
      case model::cell_kind::slowdown_start:
      case model::cell_kind::slowdown_end: {
        const bool start = c.kind == model::cell_kind::slowdown_start;
        svg << "<rect class=\"" << (start ? "slowdown-start" : "slowdown-end") << "\" x=\""
            << num(x - 4) << "\" y=\"" << num(slowdowns_row - 5) << "\" width=\"8\" height=\"10\" "
            << "fill=\"" << slowdown_fill(c.kind) << "\"><title>" << cell_kind_name(c.kind) << ", "
            << where << ", " << std::to_string(c.value) << " km/h</title></rect>\n";
        labels.block({x - 4, slowdowns_row - 5, x + 4, slowdowns_row + 5});
        if (start) {  // its speed, beside the mark or above it
          labels.offer({.texts = {std::to_string(c.value)},
                        .attributes = fill_of(slowdown_start_fill),
                        .area = area,
                        .spots = {{x + 6, slowdowns_row + 4},
                                  {x + 6, slowdowns_row - 9},
                                  {x - 6, slowdowns_row - 9, label_align::right}},
                        .priority = label_rules::scale,
                        .key = i * 50.0,
                        .mark = x});
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
          labels.block({x - 5, points_row - 6, x + 5, points_row + 6});
          svg << "<path class=\"" << kind << "\" d=\"M" << num(x) << " " << num(points_row - 6)
              << " l5 6 l-5 6 l-5 -6 z\" fill=\"" << walk_point_fill << "\"><title>" << label
              << ", " << where << ", " << speed << "</title></path>\n";
        } else {
          labels.block({x - 4, points_row - 4, x + 4, points_row + 4});
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

void draw_stations(svg_writer& svg, label_placer& labels, const line_picture& p,
                   const chainage_axis& axis) {
  svg << "<g id=\"stations\">\n";
  // The names stand horizontally over their marks, in lanes from the lowest up.
  const double lane = std::ceil((font_ascent + font_descent) * label_font_size);
  const double lowest = names_bottom - 10 - std::ceil(font_descent * label_font_size);
  std::vector<label_spot> lanes;
  for (int k = 0; k < label_rules::station_lanes; ++k) lanes.push_back({0, lowest - k * lane});
  const label_box area{left + 1, lowest - (label_rules::station_lanes - 1) * lane - lane, right - 1,
                       names_bottom - 9};
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
    // The name and time where there is room, else the name alone.
    const std::string name = utf8_from_windows_1252(e.name);
    std::vector<label_spot> spots = lanes;
    for (label_spot& spot : spots) {
      spot.x = x;
      spot.align = label_align::center;
      spot.shift_in = true;
    }
    labels.offer({.texts = {e.time != 0 ? name + " " + clock_text(e.time) : name, name},
                  .attributes = fill_of(name_fill) + " class=\"station-name\"",
                  .area = area,
                  .spots = std::move(spots),
                  .priority = stops ? label_rules::station_stop : label_rules::station_pass,
                  .key = static_cast<double>(e.position),
                  .mark = x});
  }
  svg << "</g>\n";
}

void draw_line_end(svg_writer& svg, label_placer& labels, const line_picture& p,
                   const chainage_axis& axis) {
  if (p.line_length <= 0 || p.line_length >= axis.span) return;
  const double x = axis.x(p.line_length);
  svg << "<g id=\"line-end\" class=\"line-end\">\n";
  svg.line(x, gradient_top - 10, x, marks_bottom,
           "stroke=\"" + std::string(line_end_stroke) +
               "\" stroke-width=\"1.5\" stroke-dasharray=\"6,4\"");
  // Before the mark, else after it, between the station marks and the bands.
  labels.offer({.texts = {"end of line, " + num(p.line_length / 1000.0) + " km", "end of line"},
                .attributes = fill_of(line_end_stroke),
                .area = {left + 1, names_bottom + 1, right - 1, gradient_top},
                .spots = {{x - 4, gradient_top - 3, label_align::right}, {x + 4, gradient_top - 3}},
                .priority = label_rules::caption,
                .key = static_cast<double>(p.line_length),
                .mark = x,
                .spots_first = true});
  svg << "</g>\n";
}

}  // namespace scenario_tool::drawing
