// Where the line's labels go, as the static SVG decides it; the interactive
// page (page/labels.js and page.js) follows the same rules with the same
// numbers. Labels are placed by priority, lower first, then by chainage:
// each goes to the first of its spots where it lies inside its area and
// clear of every label placed and every mark blocked, or is left out while
// its mark stays drawn.
#pragma once

namespace scenario_tool::drawing::label_rules {

inline constexpr double label_gap = 4;  // px kept clear between two labels side by side
inline constexpr double mark_gap = 1;   // and between a label and a mark it must not cover

// Priorities, lower placed first.
inline constexpr int caption = 0;        // band titles, the axis's values, fixed captions
inline constexpr int scale = 1;          // a scale's values; a signal's RAPP; a slowdown's speed
inline constexpr int lettering = 2;      // a board's lettering
inline constexpr int indicator = 3;      // a speed indicator's rank A speed
inline constexpr int station_stop = 10;  // the names of stations where the train stops
inline constexpr int station_pass = 11;  // then those it passes

// Station names stand horizontally over their mark in the lowest of this many
// lanes where they fit (the page's stations band holds as many).
inline constexpr int station_lanes = 5;
// A band's title ends this far left of the band, clear of a scale's values
// (four characters) that end beside the frame.
inline constexpr double title_clearance = 44;
inline constexpr double scale_clearance = 5;
// A note in the margin (a row's name) ends clear of a mark standing on the
// frame's edge, at chainage 0.
inline constexpr double note_clearance = 8;

}  // namespace scenario_tool::drawing::label_rules
