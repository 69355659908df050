#include "scenario_tool/draw/line_drawing.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "assembly/check_codes.h"
#include "scenario_tool/draw/label_font.h"
#include "scenario_tool/draw/label_placer.h"
#include "scenario_tool/draw/picture_parts.h"
#include "scenario_tool/shared/record_fields.h"

namespace scenario_tool {

using namespace drawing;

namespace {

void draw_legend(svg_writer& svg, const line_picture& p) {
  svg << "<g id=\"legend\" font-size=\"11\">\n";
  double x = left;
  const double y = legend_top;
  const auto item = [&](std::string_view symbol, std::string_view label) {
    svg << "<g transform=\"translate(" << num(x) << " " << num(y) << ")\">" << symbol << "</g>\n";
    svg.text(x + 14, y + 4, label);
    x += 14 + text_width(label) + 18;
  };
  namespace k = model::cell_kind;
  item("<rect x=\"-5\" y=\"-4\" width=\"10\" height=\"8\" fill=\"" + std::string(board_fill) +
           "\" stroke=\"" + std::string(board_stroke) + "\"/>",
       cell_kind_name(k::sign) + " (its lettering)");
  item("<rect x=\"-4\" y=\"-4\" width=\"8\" height=\"8\" fill=\"" + std::string(indicator_fill) +
           "\"/>",
       cell_kind_name(k::speed_indicator) + " (rank A)");
  item("<path d=\"M0 -6 l6 11 h-12 z\" fill=\"" + std::string(slowdown_warning_fill) +
           "\" stroke=\"" + std::string(ink) + "\" stroke-width=\"0.8\"/>",
       cell_kind_name(k::slowdown_warning));
  item("<rect x=\"-4\" y=\"-5\" width=\"8\" height=\"10\" fill=\"" +
           std::string(slowdown_start_fill) + "\"/>",
       cell_kind_name(k::slowdown_start) + " (speed)");
  item("<rect x=\"-4\" y=\"-5\" width=\"8\" height=\"10\" fill=\"" +
           std::string(slowdown_end_fill) + "\"/>",
       cell_kind_name(k::slowdown_end));
  if (p.cells_before_walk) {
    item("<circle r=\"4\" fill=\"" + std::string(text_point_fill) + "\"/>",
         cell_kind_name(k::speed_point) + " from the texts");
    item("<path d=\"M0 -6 l5 6 l-5 6 l-5 -6 z\" fill=\"" + std::string(walk_point_fill) + "\"/>",
         cell_kind_name(k::speed_point) + " added by the walk");
  } else {
    item("<circle r=\"4\" fill=\"" + std::string(unknown_point_fill) + "\"/>",
         cell_kind_name(k::speed_point));
  }
  x = left;
  const double y2 = y + 24;
  const auto swatch = [&](std::string_view stroke, std::string_view label) {
    svg << "<line x1=\"" << num(x - 6) << "\" y1=\"" << num(y2) << "\" x2=\"" << num(x + 8)
        << "\" y2=\"" << num(y2) << "\" " << stroke << "/>\n";
    svg.text(x + 14, y2 + 4, label);
    x += 14 + text_width(label) + 18;
  };
  swatch("stroke=\"" + std::string(rank_strokes[0]) + "\" stroke-width=\"2\"",
         "indicator speed, rank A");
  swatch("stroke=\"" + std::string(rank_strokes[1]) + "\" stroke-width=\"1.2\"", "rank B");
  swatch("stroke=\"" + std::string(rank_strokes[2]) + "\" stroke-width=\"1.2\"", "rank C");
  swatch("stroke=\"" + std::string(line_speed_stroke) +
             "\" stroke-width=\"2\" stroke-dasharray=\"5 3\"",
         "line speed of the train");
  swatch("stroke=\"" + std::string(slowdown_speed_stroke) + "\" stroke-width=\"3\"",
         "slowdown speed");
  swatch("stroke=\"" + std::string(right_curve_fill) + "\" stroke-width=\"6\"",
         "right curve (deeper: tighter)");
  swatch("stroke=\"" + std::string(left_curve_fill) + "\" stroke-width=\"6\"", "left curve");
  swatch("stroke=\"" + std::string(adhesion_stroke) + "\" stroke-width=\"1.2\"", "adhesion");
  // Signals by kind, mountain sides by code, stations by stop or pass.
  x = left;
  const double y3 = y + 48;
  const auto mark = [&](const std::string& symbol, std::string_view label) {
    svg << symbol;
    svg.text(x + 8, y3 + 4, label);
    x += 8 + text_width(label) + 14;
  };
  for (std::size_t k = 0; k < signal_shapes.size(); ++k) {
    mark(glyph_svg(signal_shapes[k], x, y3, hollow_fill), "signal, left kind " + std::to_string(k));
  }
  for (std::size_t k = 0; k < signal_fills.size(); ++k) {
    mark(glyph_svg(glyph::circle, x, y3, signal_fills[k]), "right kind " + std::to_string(k));
  }
  for (int code = 1; code <= 3; ++code) {
    mark("<rect x=\"" + num(x - 5) + "\" y=\"" + num(y3 - 5) +
             "\" width=\"10\" height=\"10\" fill=\"" + std::string(mountain_fill(code)) + "\"/>",
         "mountain side " + std::to_string(code));
  }
  mark("<path d=\"M" + num(x - 5) + " " + num(y3 - 4) + " h10 l-5 8 z\" fill=\"" +
           std::string(station_colour) + "\"/>",
       "station: stops");
  mark("<path d=\"M" + num(x - 5) + " " + num(y3 - 4) + " h10 l-5 8 z\" fill=\"" +
           std::string(hollow_fill) + "\" stroke=\"" + std::string(station_colour) + "\"/>",
       "passes");
  if (!p.cells_before_walk) {
    svg.text(left, y2 + 72,
             "Drawn from compiled files alone: the speed points that the compiler's walk adds "
             "cannot be told from those the texts give, so all are shown alike.",
             "font-size=\"11\" fill=\"" + std::string(note_fill) + "\"");
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
      << "\" font-family=\"" << label_font_family << "\">\n";
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
  svg.text(left, 72, xml(p.source), "font-size=\"11\" fill=\"" + std::string(note_fill) + "\"");

  std::int64_t span = std::max<std::int64_t>(p.line_length, 1000);
  for (std::size_t i = 1; i < p.stations.size() && i <= 80; ++i) {
    if (station_role_of(static_cast<int>(i), p.stations[i]) == model::station_role::station) {
      span = std::max<std::int64_t>(span, std::int64_t{p.stations[i].position} + 500);
    }
  }
  // Objects past the end of the line are shown too, right of its end mark.
  for (std::size_t i = 0; i < p.cells.size(); ++i) {
    if (!model::is_free(p.cells[i]) && static_cast<std::int64_t>(i) * 50 > p.line_length) {
      span = std::max<std::int64_t>(span, static_cast<std::int64_t>(i) * 50 + 500);
    }
  }
  const chainage_axis axis{static_cast<double>(span)};

  label_placer labels;
  draw_plan(svg, labels, p);
  draw_axis(svg, labels, axis);
  draw_gradient(svg, labels, p, axis);
  draw_curves(svg, labels, p, axis);
  draw_mountain(svg, labels, p, axis);
  draw_speeds(svg, labels, p, axis);
  draw_marks(svg, labels, p, axis);
  draw_stations(svg, labels, p, axis);
  draw_line_end(svg, labels, p, axis);
  // The labels last, where they fit, over the marks they name.
  labels.write(svg);
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
