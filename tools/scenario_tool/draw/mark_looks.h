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

// Speed points: those of the texts, those the walk added, and those of a
// compiled folder, which cannot be told apart.
inline constexpr std::string_view text_point_fill = "#2e86c1";
inline constexpr std::string_view walk_point_fill = "#e67e22";
inline constexpr std::string_view unknown_point_fill = "#7f8c8d";

}  // namespace scenario_tool::drawing
