// Where the line's labels go, as the static SVG decides it; the interactive
// page (page/labels.js and page.js) follows the same rules with the same
// numbers, which it is sent with its looks. Labels are placed by priority,
// lower first, then by chainage: each goes to the first of its spots where it
// lies inside its area and clear of every label placed and every mark
// blocked, or is left out while its mark stays drawn.
#pragma once

#include <string_view>

namespace scenario_tool::drawing::label_rules {

// One rule: its group ("priority", or none), its name and its number.
struct rule {
  std::string_view group;
  std::string_view name;
  double value;
};

// Every rule, by the names the page reads them under. Each constant below is
// looked up here, so none is left out of what the page is sent.
inline constexpr rule rules[] = {
    // px kept clear between two labels side by side, and between a label and
    // a mark it must not cover.
    {"", "label_gap", 4},
    {"", "mark_gap", 1},
    // Priorities, lower placed first.
    {"priority", "caption", 0},  // band titles, the axis's values, fixed captions
    // a scale's values; a signal's RAPP; a slowdown's speed; a kilometric
    // reference's shift
    {"priority", "scale", 1},
    {"priority", "lettering", 2},      // a board's lettering; a curve's radius
    {"priority", "indicator", 3},      // a speed indicator's rank A speed
    {"priority", "station_stop", 10},  // the names of stations where the train stops
    {"priority", "station_pass", 11},  // then those it passes
    // Station names stand horizontally over their mark in the lowest of this
    // many lanes where they fit (the page's stations band holds as many).
    {"", "station_lanes", 5},
    // A band's title ends this far left of the band, clear of a scale's
    // values (four characters) that end beside the frame.
    {"", "title_clearance", 44},
    {"", "scale_clearance", 5},
    // A note in the margin (a row's name) ends clear of a mark standing on the
    // frame's edge, at chainage 0.
    {"", "note_clearance", 8},
};

// The number of the rule named `name` in `group`; a name not in the table
// does not compile.
consteval double value_of(std::string_view group, std::string_view name) {
  for (const rule& r : rules) {
    if (r.group == group && r.name == name) return r.value;
  }
  throw "no such label rule";
}

inline constexpr double label_gap = value_of("", "label_gap");
inline constexpr double mark_gap = value_of("", "mark_gap");

inline constexpr int caption = static_cast<int>(value_of("priority", "caption"));
inline constexpr int scale = static_cast<int>(value_of("priority", "scale"));
inline constexpr int lettering = static_cast<int>(value_of("priority", "lettering"));
inline constexpr int indicator = static_cast<int>(value_of("priority", "indicator"));
inline constexpr int station_stop = static_cast<int>(value_of("priority", "station_stop"));
inline constexpr int station_pass = static_cast<int>(value_of("priority", "station_pass"));

inline constexpr int station_lanes = static_cast<int>(value_of("", "station_lanes"));
inline constexpr double title_clearance = value_of("", "title_clearance");
inline constexpr double scale_clearance = value_of("", "scale_clearance");
inline constexpr double note_clearance = value_of("", "note_clearance");

}  // namespace scenario_tool::drawing::label_rules
