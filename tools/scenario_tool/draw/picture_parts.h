// The parts of the line's picture, each drawn into the page in turn.
#pragma once

#include <string>
#include <string_view>

#include "scenario_tool/draw/label_placer.h"
#include "scenario_tool/draw/line_drawing.h"
#include "scenario_tool/draw/mark_looks.h"
#include "scenario_tool/draw/svg_page.h"

namespace scenario_tool::drawing {

// A glyph of `shape` centred on (x, y), outlined in black.
std::string glyph_svg(glyph shape, double x, double y, std::string_view fill);
// Each part draws its marks and offers its labels to `labels`, which writes
// them once every part is down (see label_rules.h).
// The plan seen from above, with the stations and a scale bar.
void draw_plan(svg_writer& svg, label_placer& labels, const line_picture& p);
// The bands under the plan, on one chainage axis.
void draw_axis(svg_writer& svg, label_placer& labels, const chainage_axis& axis);
void draw_gradient(svg_writer& svg, label_placer& labels, const line_picture& p,
                   const chainage_axis& axis);
void draw_curves(svg_writer& svg, label_placer& labels, const line_picture& p,
                 const chainage_axis& axis);
// Mountain-side stretches by side code, their filler cells, and the adhesion.
void draw_mountain(svg_writer& svg, label_placer& labels, const line_picture& p,
                   const chainage_axis& axis);
void draw_speeds(svg_writer& svg, label_placer& labels, const line_picture& p,
                 const chainage_axis& axis);
void draw_marks(svg_writer& svg, label_placer& labels, const line_picture& p,
                const chainage_axis& axis);
void draw_stations(svg_writer& svg, label_placer& labels, const line_picture& p,
                   const chainage_axis& axis);
// The end of the line across the bands: what lies right of it lies in the
// cells that extend the line.
void draw_line_end(svg_writer& svg, label_placer& labels, const line_picture& p,
                   const chainage_axis& axis);

// Where a band's labels may go: inside its frame, or in the margin to its
// left (titles and scales).
label_box plot_area(double top, double bottom);
label_box margin_area(double top, double bottom);
// A band's title in the margin, ending clear of its scale's values where it
// can.
void offer_title(label_placer& labels, double top, double bottom, std::string title);
// A note in the margin, ending beside the frame, on baseline y.
void offer_margin_note(label_placer& labels, double top, double bottom, std::string text, double y,
                       std::string_view fill);

}  // namespace scenario_tool::drawing
