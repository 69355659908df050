// The picture of a line: its plan seen from above, and under it, on one
// chainage axis, the gradient profile, the curves, the speed limits, the
// signals, slowdowns and speed points, and the stations, as one
// self-contained SVG document.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/scenario_model.h"

namespace scenario_tool {

struct line_picture {
  std::string route_id;  // single-byte names, as stored
  std::string train_number;
  std::vector<model::track_cell> cells;  // as compiled, after the walk
  // The cells as the texts gave them, before the walk added its speed
  // points; absent when drawing from compiled files alone.
  std::optional<std::vector<model::track_cell>> cells_before_walk;
  std::vector<model::station_entry> stations;  // entries 0 to 86
  model::track_plan plan;                      // may be empty
  std::int32_t line_length = 0;
  std::string source;              // what the picture was drawn from, UTF-8
  std::vector<std::string> notes;  // errors and mismatches to show, UTF-8
};

// The SVG document. Every station and every signal gets one mark, with the
// classes "station-mark", "plan-station-mark" and "signal-mark".
std::string draw_svg(const line_picture& picture);

}  // namespace scenario_tool
