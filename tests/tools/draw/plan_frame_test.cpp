// The plan's box holds the whole line and every station, those past the
// line's end too, and the page is handed the very extent the SVG fits.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <vector>

#include "model/track_plan.h"
#include "scenario_tool/draw/page_data.h"
#include "scenario_tool/draw/plan_turn.h"

namespace {

using scenario_tool::drawing::frame_of;
using scenario_tool::drawing::plan_frame;

// East for 3000 m, then north for 2000 m; the line ends at 2500 m, in the
// middle of a kept stretch; one station at 800 m, one 1500 m up the run-out
// and one whose chainage lies past the plan's end.
struct bent_plan {
  model::track_plan plan{5000};
  std::vector<model::station_entry> stations;
  bent_plan() {
    for (std::int32_t m = 0; m <= 5000; ++m) {
      plan.set_point(m, m <= 3000 ? m : 3000, m <= 3000 ? 0 : m - 3000);
    }
    stations.resize(4);  // entry 0 is no station
    for (const auto& [i, at] : {std::pair{1, 800}, {2, 4500}, {3, 9000}}) {
      stations[static_cast<std::size_t>(i)].kind = 7;
      stations[static_cast<std::size_t>(i)].position = at;
    }
  }
};

TEST(PlanFrame, HoldsTheLineToItsEndAndEveryStationPastIt) {
  const bent_plan b;
  const plan_frame frame = frame_of(b.plan, 2500, b.stations);
  ASSERT_TRUE(frame.found);
  const auto inside = [&](std::int32_t m) {
    const double u = frame.turn.u(b.plan.number(m, 0), b.plan.number(m, 1));
    const double v = frame.turn.v(b.plan.number(m, 0), b.plan.number(m, 1));
    return u >= frame.min_u - 1e-6 && u <= frame.max_u + 1e-6 && v >= frame.min_v - 1e-6 &&
           v <= frame.max_v + 1e-6;
  };
  for (const std::int32_t m : {0, 1250, 2500, 4500, 5000}) EXPECT_TRUE(inside(m)) << "metre " << m;
  // Nothing more than the line and the stations: the run-out between them is
  // left out (metre 3000 lies within, the bend's corner; metre 5000 is the
  // last, where the station past the plan's end is drawn).
  EXPECT_NEAR(frame.max_u - frame.min_u, 3000, 1e-6);
  EXPECT_NEAR(frame.max_v - frame.min_v, 2000, 1e-6);

  // Without the stations past its end the box holds the line alone.
  std::vector<model::station_entry> first_only(b.stations.begin(), b.stations.begin() + 2);
  const plan_frame line_only = frame_of(b.plan, 2500, first_only);
  EXPECT_NEAR(line_only.max_u - line_only.min_u, 2500, 1e-6);
  EXPECT_NEAR(line_only.max_v - line_only.min_v, 0, 1e-6);

  // No plan: nothing to frame.
  EXPECT_FALSE(frame_of(model::track_plan{}, 2500, b.stations).found);
}

TEST(PlanFrame, ThePageIsHandedTheExtentTheSvgFits) {
  const bent_plan b;
  scenario_tool::line_picture picture;
  picture.cells.resize(100);
  picture.stations = b.stations;
  picture.plan = b.plan;
  picture.line_length = 2500;
  const nlohmann::json extent =
      nlohmann::json::parse(scenario_tool::page_json(picture, {}, {}))["plan"]["extent"];
  const plan_frame frame = frame_of(b.plan, 2500, b.stations);
  EXPECT_NEAR(extent["min_u"].get<double>(), frame.min_u, 0.005);
  EXPECT_NEAR(extent["max_u"].get<double>(), frame.max_u, 0.005);
  EXPECT_NEAR(extent["min_v"].get<double>(), frame.min_v, 0.005);
  EXPECT_NEAR(extent["max_v"].get<double>(), frame.max_v, 0.005);
  EXPECT_NEAR(extent["max_v"].get<double>() - extent["min_v"].get<double>(), 2000, 0.01);
}

}  // namespace
