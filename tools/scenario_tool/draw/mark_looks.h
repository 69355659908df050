// What each mark of the line's picture looks like and means: the one place
// that decides it for the static SVG and for the interactive page (which is
// given these decisions with its data, see looks_json).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/scenario_model.h"

namespace scenario_tool::drawing {

enum class glyph { circle, square, triangle };

// A signal's glyph tells its left kind (SX: 0 circle, 1 square, 2 triangle,
// the kind with a time) and its fill its right kind (DX), both read back from
// value4 = RAPP x 10 + SX x 3 + DX.
struct signal_look {
  int left_kind;   // 0 to 2 (a larger stored value is drawn as 2)
  int right_kind;  // 0 to 2
  int rapp;        // RAPP, shown beside the glyph when not 0
  glyph shape;
  std::string_view fill;
};
signal_look look_of_signal(std::int16_t value4);
inline constexpr std::array<glyph, 3> signal_shapes{glyph::circle, glyph::square, glyph::triangle};
inline constexpr std::array<std::string_view, 3> signal_fills{"#1e8449", "#f1c40f", "#c0392b"};
std::string_view glyph_name(glyph g);

// Curvature drawn so that tightness shows: the depth of a curve's mark, as a
// share of its half band, is 1/R against the tightest radius a text can give.
inline constexpr double tightest_radius = 333;
double curve_depth(double radius);
inline constexpr std::string_view right_curve_fill = "#d35400";
inline constexpr std::string_view left_curve_fill = "#2874a6";

// The fill of a mountain-side stretch by its side code (the stored code's
// last digit, 1 to 3); cells the stretch marks as filler are drawn darker.
std::string_view mountain_fill(int side_code);
inline constexpr std::string_view mountain_filler_fill = "#566573";
inline constexpr std::string_view adhesion_stroke = "#1e8449";

// A speed indicator's speeds for ranks A, B and C where it stands: each
// packed value is the rank's speed x 20 + the other track's speed / 5.
std::array<double, 3> indicator_speeds(const model::track_cell& cell);
inline constexpr std::array<std::string_view, 3> rank_strokes{"#117a65", "#b9770e", "#6c3483"};
inline constexpr std::string_view indicator_fill = "#117a65";

inline constexpr std::string_view board_stroke = "#34495e";
// Stations: the mark is filled where the train stops and hollow where it passes.
inline constexpr std::string_view station_colour = "#c0392b";
inline bool train_stops(const model::station_entry& e) {
  return e.stop != 0;
}

// Where the train stops at a station: its stop point's cell.
inline constexpr std::string_view stop_point_fill = "#922b21";
// Seen through, a station's guide down the bands and its platform.
inline constexpr std::string_view station_guide_opacity = "0.35";
inline constexpr std::string_view platform_opacity = "0.18";

// Speed points: those of the texts, those the walk added, and those of a
// compiled folder, which cannot be told apart.
inline constexpr std::string_view text_point_fill = "#2e86c1";
inline constexpr std::string_view walk_point_fill = "#e67e22";
inline constexpr std::string_view unknown_point_fill = "#7f8c8d";

// Slowdowns: the marks of their cells, and their speed drawn from start to end.
inline constexpr std::string_view slowdown_start_fill = "#c0392b";
inline constexpr std::string_view slowdown_end_fill = "#27ae60";
inline constexpr std::string_view slowdown_warning_fill = "#f4d03f";
inline constexpr std::string_view slowdown_marker_fill = "#e59866";
inline constexpr std::string_view slowdown_speed_stroke = "#c0392b";
inline constexpr std::string_view line_speed_stroke = "#7f8c8d";

inline constexpr std::string_view gradient_stroke = "#8e5a2b";
inline constexpr std::string_view gradient_level_stroke = "#888";  // the level, 0 per mille
inline constexpr std::string_view curve_axis_stroke = "#bbb";      // straight track

// The line's end, and the run-out past it (shaded, seen through).
inline constexpr std::string_view line_end_stroke = "#c0392b";
inline constexpr std::string_view run_out_shade = "#787878";
inline constexpr std::string_view run_out_shade_opacity = "0.1";
// Where the kilometres a driver reads restart.
inline constexpr std::string_view km_reference_fill = "#6c3483";

// The plan: the line, its run past the line's end, the stretch the bands
// show and the point under the pointer.
inline constexpr std::string_view plan_line_stroke = "#222";
inline constexpr std::string_view plan_run_out_stroke = "#999";
inline constexpr std::string_view plan_shown_stroke = "#2e86c1";
inline constexpr std::string_view plan_pointer_stroke = "#e74c3c";

// The picture's frame and words: ink for marks and the axis, frames round
// the bands, the chainage grid, names, captions and quieter notes.
inline constexpr std::string_view ink = "#000";
inline constexpr std::string_view pointer_opacity = "0.35";  // the pointer's line, in ink
inline constexpr std::string_view frame_stroke = "#999";
inline constexpr std::string_view grid_stroke = "#e4e4e4";
inline constexpr std::string_view name_fill = "#222";
inline constexpr std::string_view caption_fill = "#333";
inline constexpr std::string_view note_fill = "#555";
inline constexpr std::string_view board_fill = "#fdfefe";
inline constexpr std::string_view hollow_fill = "#fff";

// Every single look above by the name the page reads it under in `looks`
// (the signal shapes and fills, rank strokes, mountain fills and slowdown
// fills go beside them, by number).
struct named_look {
  std::string_view name;
  std::string_view value;
};
inline constexpr auto page_looks = std::to_array<named_look>({
    {"right_curve", right_curve_fill},
    {"left_curve", left_curve_fill},
    {"mountain_filler", mountain_filler_fill},
    {"adhesion", adhesion_stroke},
    {"indicator", indicator_fill},
    {"board", board_stroke},
    {"board_fill", board_fill},
    {"station", station_colour},
    {"stop_point", stop_point_fill},
    {"station_guide_opacity", station_guide_opacity},
    {"platform_opacity", platform_opacity},
    {"text_point", text_point_fill},
    {"walk_point", walk_point_fill},
    {"unknown_point", unknown_point_fill},
    {"slowdown_speed", slowdown_speed_stroke},
    {"line_speed", line_speed_stroke},
    {"gradient", gradient_stroke},
    {"gradient_level", gradient_level_stroke},
    {"curve_axis", curve_axis_stroke},
    {"line_end", line_end_stroke},
    {"run_out_shade", run_out_shade},
    {"run_out_shade_opacity", run_out_shade_opacity},
    {"km_reference", km_reference_fill},
    {"plan_line", plan_line_stroke},
    {"plan_run_out", plan_run_out_stroke},
    {"plan_shown", plan_shown_stroke},
    {"plan_pointer", plan_pointer_stroke},
    {"ink", ink},
    {"pointer_opacity", pointer_opacity},
    {"frame", frame_stroke},
    {"grid", grid_stroke},
    {"name", name_fill},
    {"caption", caption_fill},
    {"note", note_fill},
    {"hollow", hollow_fill},
});
// The fill of a slowdown's cell by its kind (start, end, warning, marker);
// empty for any other kind.
std::string_view slowdown_fill(std::uint8_t kind);

}  // namespace scenario_tool::drawing
