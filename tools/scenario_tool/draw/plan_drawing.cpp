// The plan of the line seen from above.
#include <algorithm>
#include <cmath>

#include "scenario_tool/draw/label_font.h"
#include "scenario_tool/draw/label_rules.h"
#include "scenario_tool/draw/mark_looks.h"
#include "scenario_tool/draw/page_data.h"
#include "scenario_tool/draw/picture_parts.h"
#include "scenario_tool/draw/plan_turn.h"
#include "scenario_tool/shared/record_fields.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool::drawing {

namespace {

std::string fill_of(std::string_view colour) {
  return "fill=\"" + std::string(colour) + "\"";
}

// Keeps every label off a drawn line: boxes a little wider than the stroke
// along each of its segments.
void block_line(label_placer& labels, const std::vector<std::pair<double, double>>& points,
                double half_width) {
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const auto [x1, y1] = points[i];
    const auto [x2, y2] = points[i + 1];
    const double length = std::hypot(x2 - x1, y2 - y1);
    const int steps = static_cast<int>(std::min(std::ceil(length / 3), 10000.0));
    for (int k = 0; k <= steps; ++k) {
      const double t = steps == 0 ? 0 : static_cast<double>(k) / steps;
      const double x = x1 + (x2 - x1) * t, y = y1 + (y2 - y1) * t;
      labels.block({x - half_width, y - half_width, x + half_width, y + half_width});
    }
  }
}

}  // namespace

void draw_plan(svg_writer& svg, label_placer& labels, const line_picture& p) {
  svg << "<g id=\"plan\">\n";
  svg << "<rect x=\"" << num(left) << "\" y=\"" << num(plan_top) << "\" width=\"" << num(plot_width)
      << "\" height=\"" << num(plan_bottom - plan_top)
      << "\" fill=\"#fbfbf8\" stroke=\"" + std::string(frame_stroke) + "\"/>\n";
  // Every word in the box is placed where it fits: inside the box, off the
  // line, the rings and the other words.
  const label_box box{left + 1, plan_top + 1, right - 1, plan_bottom - 1};
  const auto caption = [&](std::string text, label_spot spot, std::string_view fill) {
    labels.offer({.texts = {std::move(text)},
                  .attributes = fill_of(fill),
                  .area = box,
                  .spots = {spot},
                  .priority = label_rules::caption});
  };
  caption("Plan of the line (from the track plan)", {left + 6, plan_top + 16}, caption_fill);
  const std::int32_t last = p.plan.last_metre();
  if (last < 1) {
    caption("No track plan to draw.", {left + 6, plan_top + 36}, ink);
    svg << "</g>\n";
    return;
  }
  const std::int32_t line_end = std::clamp(p.line_length, 1, last);
  // Turned so that the line runs along the box and starts on the left; the
  // stations past the line's end stay inside the box too.
  const plan_frame frame = frame_of(p.plan, p.line_length, p.stations);
  const plan_turn turn = frame.turn;
  const auto u_of = [&](std::int32_t m) {
    return turn.u(p.plan.number(m, 0), p.plan.number(m, 1));
  };
  const auto v_of = [&](std::int32_t m) {
    return turn.v(p.plan.number(m, 0), p.plan.number(m, 1));
  };
  if (!frame.found) {
    svg << "</g>\n";
    return;
  }
  const double min_x = frame.min_u, max_x = frame.max_u, min_y = frame.min_v, max_y = frame.max_v;
  const double pad = 40;
  const double box_w = plot_width - 2 * pad;
  const double box_h = plan_bottom - plan_top - 2 * pad;
  const double span_x = std::max(max_x - min_x, 1.0);
  const double span_y = std::max(max_y - min_y, 1.0);
  const double scale = std::min(box_w / span_x, box_h / span_y);  // pixels per metre
  const double origin_x = left + pad + (box_w - span_x * scale) / 2;
  const double origin_y = plan_top + pad + (box_h + span_y * scale) / 2;
  // The drawn v grows upwards.
  const auto px = [&](double x) { return origin_x + (x - min_x) * scale; };
  const auto py = [&](double y) { return origin_y - (y - min_y) * scale; };

  // The points kept lie within a fifth of a pixel of the line drawn.
  const std::vector<std::int32_t> kept = thinned_plan(p.plan, last, 0.2 / scale);
  const auto polyline = [&](std::int32_t from, std::int32_t to, std::string_view attributes,
                            double half_width) {
    // Both ends as they are, and the kept points between them.
    std::string points;
    std::vector<std::pair<double, double>> drawn;
    const auto point = [&](std::int32_t m) {
      if (!finite_point(p.plan, m)) return;
      const double x = px(u_of(m)), y = py(v_of(m));
      if (!std::isfinite(x) || !std::isfinite(y)) return;
      points += num(x) + "," + num(y) + " ";
      // What the box shows of it (the run-out is cut at the box's edge).
      drawn.emplace_back(std::clamp(x, left - 10, right + 10),
                         std::clamp(y, plan_top - 10, plan_bottom + 10));
    };
    point(from);
    for (const std::int32_t m : kept) {
      if (m > from && m < to) point(m);
    }
    if (to > from) point(to);
    svg << "<polyline fill=\"none\" " << attributes << " points=\"" << points << "\"/>\n";
    block_line(labels, drawn, half_width);
  };
  polyline(
      0, line_end,
      "stroke=\"" + std::string(plan_line_stroke) + "\" stroke-width=\"2.5\" class=\"plan-line\"",
      2);
  // The extra metres past the line's end that the plan carries.
  svg << "<clipPath id=\"plan-clip\"><rect x=\"" << num(left) << "\" y=\"" << num(plan_top)
      << "\" width=\"" << num(plot_width) << "\" height=\"" << num(plan_bottom - plan_top)
      << "\"/></clipPath>\n";
  svg << "<g clip-path=\"url(#plan-clip)\">\n";
  if (last - 2 > line_end) {
    polyline(line_end, last - 2,
             "stroke=\"" + std::string(plan_run_out_stroke) +
                 "\" stroke-width=\"1.5\" stroke-dasharray=\"6 4\"",
             1.5);
  }
  svg << "</g>\n";

  // Stations: a ring at the point of the station's chainage, and its name
  // after it, else before it, above or below it.
  const double ascent = font_ascent * label_font_size;
  for (std::size_t i = 1; i < p.stations.size() && i <= 80; ++i) {
    const model::station_entry& e = p.stations[i];
    if (station_role_of(static_cast<int>(i), e) != model::station_role::station) continue;
    const std::int32_t m = station_plan_metre(p.plan, e.position);
    if (!finite_point(p.plan, m)) continue;
    const double x = px(u_of(m));
    const double y = py(v_of(m));
    svg << "<circle class=\"plan-station-mark\" cx=\"" << num(x) << "\" cy=\"" << num(y)
        << "\" r=\"5\" fill=\"" << (train_stops(e) ? station_colour : hollow_fill) << "\" stroke=\""
        << station_colour << "\" stroke-width=\"2\"><title>" << stored(e.name) << ", "
        << km(e.position) << (train_stops(e) ? ", the train stops" : ", the train passes")
        << "</title></circle>\n";
    labels.block({x - 6, y - 6, x + 6, y + 6});
    labels.offer(
        {.texts = {utf8_from_windows_1252(e.name)},
         .attributes = fill_of(name_fill) + " class=\"plan-station-name\"",
         .area = box,
         .spots = {{x + 9, y + 4},
                   {x - 9, y + 4, label_align::right},
                   {x, y - 9, label_align::center},
                   {x, y + 9 + ascent, label_align::center},
                   {x + 6, y - 8},
                   {x - 6, y - 8, label_align::right},
                   {x + 6, y + 7 + ascent},
                   {x - 6, y + 7 + ascent, label_align::right}},
         .priority = train_stops(e) ? label_rules::station_stop : label_rules::station_pass,
         .key = static_cast<double>(e.position)});
  }
  // Start of the line.
  if (finite_point(p.plan, 0)) {
    const double x = px(u_of(0)), y = py(v_of(0));
    labels.offer({.texts = {"start"},
                  .attributes = fill_of(note_fill),
                  .area = box,
                  .spots = {{x + 8, y + 16}, {x - 8, y + 16, label_align::right}, {x + 8, y - 8}},
                  .priority = label_rules::scale});
  }
  // Where the plane's y axis points once the plan is turned.
  const double ax = right - 30, ay = plan_top + 40;
  svg << "<g id=\"plan-y-axis\"><line x1=\"" << num(ax) << "\" y1=\"" << num(ay) << "\" x2=\""
      << num(ax - turn.sin * 22) << "\" y2=\"" << num(ay - turn.cos * 22)
      << "\" stroke=\"" + std::string(note_fill) + "\" stroke-width=\"1.5\"/><circle cx=\""
      << num(ax - turn.sin * 22) << "\" cy=\"" << num(ay - turn.cos * 22)
      << "\" r=\"2.5\" fill=\"" + std::string(note_fill) + "\"/>";
  svg << "</g>\n";
  labels.block({ax - 26, ay - 26, ax + 26, ay + 26});
  labels.offer({.texts = {"+y"},
                .attributes = fill_of(note_fill),
                .area = box,
                .spots = {{ax - turn.sin * 38, ay - turn.cos * 38 + 4, label_align::center},
                          {ax + 28, ay + 4},
                          {ax - 28, ay + 4, label_align::right}},
                .priority = label_rules::caption});

  // Scale bar: a round length of at most a fifth of the line's extent.
  const double bar_m = nice_step_below(std::max(span_x, span_y) / 5);
  const double bar_px = bar_m * scale;
  const double bx = left + 20;
  const double by = plan_bottom - 20;
  svg << "<g id=\"scale-bar\">\n";
  svg.line(bx, by, bx + bar_px, by, "stroke=\"" + std::string(ink) + "\" stroke-width=\"3\"");
  svg.line(bx, by - 6, bx, by + 4, "stroke=\"" + std::string(ink) + "\" stroke-width=\"1.5\"");
  svg.line(bx + bar_px, by - 6, bx + bar_px, by + 4,
           "stroke=\"" + std::string(ink) + "\" stroke-width=\"1.5\"");
  svg << "</g>\n";
  labels.block({bx - 1, by - 6, bx + bar_px + 1, by + 4});
  caption(bar_m >= 1000 ? num(bar_m / 1000) + " km" : num(bar_m) + " m",
          {bx + bar_px / 2, by - 9, label_align::center}, ink);
  caption(
      "turned so that the line runs along the box from the left (arrow: the plan's +y); "
      "filled rings: the train stops; grey dashes: the plan's run past the line's end",
      {right - 8, plan_bottom - 8, label_align::right}, note_fill);
  svg << "</g>\n";
}

}  // namespace scenario_tool::drawing
