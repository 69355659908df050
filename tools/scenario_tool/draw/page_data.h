// What the interactive page of a line shows, as one JSON document: every
// cell's stored fields, the objects with the words dump gives them, the
// stations and references, the plan thinned to what the page can show, the
// curves, the rows behind the objects and the compile's diagnostics.
#pragma once

#include <string>
#include <vector>

#include "scenario_tool/compile/diagnostic.h"
#include "scenario_tool/draw/line_drawing.h"
#include "scenario_tool/draw/source_rows.h"

namespace scenario_tool {

// The plan is thinned so that no point lies further than this share of the
// plan's larger extent from the line drawn: below a pixel of a plan box many
// screens wide.
inline constexpr double plan_tolerance_share = 1.0 / 20000;

// The page's data; `rows` and `diagnostics` are empty when drawing from
// compiled files.
std::string page_json(const line_picture& picture, const std::vector<source_row>& rows,
                      const std::vector<diagnostic>& diagnostics);

// The metres of the plan's points the page keeps: the first and the last
// drawable metre, and between them each point that would lie further than
// `tolerance` metres from the straight line between its kept neighbours.
std::vector<std::int32_t> thinned_plan(const model::track_plan& plan, std::int32_t last,
                                       double tolerance);

}  // namespace scenario_tool
