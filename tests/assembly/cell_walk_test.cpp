#include "assembly/cell_walk.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace kind = model::cell_kind;

struct placed {
  int cell;
  model::track_cell content;
};

placed at(int cell, std::uint8_t k, std::int16_t value = 0) {
  return {cell, model::track_cell{.kind = k, .value = value}};
}

constexpr std::int32_t untouched = -1;  // error_position before the walk

// A line of cells 0 to last, empty except for the given objects.
model::scenario_model line_of(int last, const std::vector<placed>& objects) {
  model::scenario_model m;
  m.cell_count = last;
  m.track_cells.assign(static_cast<std::size_t>(last) + 1, model::track_cell{});
  for (const placed& p : objects) m.track_cells.at(static_cast<std::size_t>(p.cell)) = p.content;
  m.error_position = untouched;
  return m;
}

// The walk must have turned exactly these cells into speed points with these
// speeds, keeping every other field, and left every other cell as it was.
void expect_speed_points(const model::scenario_model& before, const model::scenario_model& after,
                         const std::map<int, std::int16_t>& points) {
  ASSERT_EQ(after.track_cells.size(), before.track_cells.size());
  for (std::size_t c = 0; c < before.track_cells.size(); ++c) {
    model::track_cell expected = before.track_cells[c];
    if (auto p = points.find(static_cast<int>(c)); p != points.end()) {
      expected.kind = kind::speed_point;
      expected.value = p->second;
    }
    EXPECT_EQ(after.track_cells[c], expected)
        << "cell " << c << ": kind " << int{after.track_cells[c].kind} << " value "
        << after.track_cells[c].value;
  }
}

// The worked example: warning point 16, start 40 at speed 60, end 60,
// signals 10 and 65.
class WorkedExample : public ::testing::Test {
 protected:
  model::scenario_model line =
      line_of(100, {at(16, kind::slowdown_warning, 60), at(40, kind::slowdown_start, 60),
                    at(60, kind::slowdown_end, 60), at(10, kind::signal), at(65, kind::signal)});
  const std::map<int, std::int16_t> points = {{9, 180},  {35, 180}, {29, 180}, {22, 180},
                                              {48, 180}, {56, 180}, {64, 180}};
};

TEST_F(WorkedExample, PlacesTheSevenSpeedPointsAndRecordsNoError) {
  const model::scenario_model before = line;
  assembly::percorri_celle(line);
  expect_speed_points(before, line, points);
  EXPECT_EQ(line.error_code, 0);
  EXPECT_EQ(line.error_position, untouched);
}

TEST_F(WorkedExample, MountainFillerCellsCountAsFreeAndKeepTheirOtherFields) {
  for (model::track_cell& cell : line.track_cells) {
    if (cell.kind == kind::empty) cell = {.kind = kind::mountain_filler, .mountain = 2};
  }
  const model::scenario_model before = line;
  assembly::percorri_celle(line);
  expect_speed_points(before, line, points);
  EXPECT_EQ(line.track_cells[9].mountain, 2);
  EXPECT_EQ(line.error_code, 0);
}

struct walk_case {
  std::string name;
  int last;
  std::vector<placed> objects;
  std::map<int, std::int16_t> points;  // speed points after the walk, new or changed
  std::int32_t error_code = 0;
  std::int32_t error_position = untouched;
};

void PrintTo(const walk_case& c, std::ostream* os) {
  *os << c.name;
}

class Walk : public ::testing::TestWithParam<walk_case> {};

TEST_P(Walk, PlacesSpeedPointsAndRecordsErrors) {
  const walk_case& c = GetParam();
  model::scenario_model line = line_of(c.last, c.objects);
  const model::scenario_model before = line;
  assembly::percorri_celle(line);
  expect_speed_points(before, line, c.points);
  EXPECT_EQ(line.error_code, c.error_code);
  EXPECT_EQ(line.error_position, c.error_position);
}

const std::uint8_t W = kind::slowdown_warning;
const std::uint8_t S = kind::slowdown_start;
const std::uint8_t E = kind::slowdown_end;
const std::uint8_t G = kind::signal;
const std::uint8_t P = kind::speed_point;
const std::uint8_t X = kind::sign;  // any occupied cell
const std::uint8_t T = kind::stop_point;

// Rule A: signals up to 20 cells before a warning point.
INSTANTIATE_TEST_SUITE_P(
    SignalsBeforeWarningPoints, Walk,
    ::testing::Values(
        walk_case{"CellJustBeforeTheSignal", 100, {at(50, W), at(40, G)}, {{39, 180}}},
        walk_case{
            "SecondCellWhenTheFirstIsTaken", 100, {at(50, W), at(40, G), at(39, X)}, {{38, 180}}},
        walk_case{"FasterPointIsLowered",
                  100,
                  {at(50, W), at(40, G), at(39, P, 200), at(38, X)},
                  {{39, 180}}},
        walk_case{"SlowerPointKeepsItsSpeed",
                  100,
                  {at(50, W), at(40, G), at(39, P, 120), at(38, X)},
                  {{39, 120}}},
        walk_case{"FreeCellPreferredToLowering",
                  100,
                  {at(50, W), at(40, G), at(39, P, 200)},
                  {{39, 200}, {38, 180}}},
        walk_case{"PointInTheSecondCellIsLowered",
                  100,
                  {at(50, W), at(40, G), at(39, X), at(38, P, 250)},
                  {{38, 180}}},
        walk_case{"NoRoomRecords11AtTheSignal",
                  100,
                  {at(50, W), at(40, G), at(39, X), at(38, T)},
                  {},
                  11,
                  2000},
        walk_case{"Reaches20CellsBack", 100, {at(50, W), at(30, G)}, {{29, 180}}},
        walk_case{"StopsBefore21CellsBack", 100, {at(50, W), at(29, G)}, {}},
        walk_case{
            "EverySignalIsHandled", 100, {at(50, W), at(45, G), at(35, G)}, {{44, 180}, {34, 180}}},
        walk_case{"TwoWarningPointsAfterOneSignal",
                  100,
                  {at(30, G), at(35, W), at(40, W)},
                  {{29, 180}, {28, 180}}},
        walk_case{"SignalInCell3IsConsidered", 100, {at(5, W), at(3, G)}, {{2, 180}}},
        walk_case{"SignalsInCells0To2AreNeverConsidered",
                  100,
                  {at(10, W), at(0, G), at(1, G), at(2, G)},
                  {}}),
    [](const auto& info) { return info.param.name; });

// Rule B: windows ahead of a slowdown start (speed 120: no cadence).
INSTANTIATE_TEST_SUITE_P(
    WindowsBeforeAStart, Walk,
    ::testing::Values(
        walk_case{"StartAt7GetsNone", 100, {at(7, S, 120)}, {}},
        walk_case{"StartAt8GetsWindow1", 100, {at(8, S, 120)}, {{3, 180}}},
        walk_case{"StartAt13GetsWindow1", 100, {at(13, S, 120)}, {{8, 180}}},
        walk_case{"StartAt14GetsWindows1And2", 100, {at(14, S, 120)}, {{9, 180}, {3, 180}}},
        walk_case{"StartAt20GetsWindows1And2", 100, {at(20, S, 120)}, {{15, 180}, {9, 180}}},
        walk_case{"StartAt21GetsAllThree", 100, {at(21, S, 120)}, {{16, 180}, {10, 180}, {3, 180}}},
        walk_case{"NearestFreeCellFirst",
                  100,
                  {at(40, S, 120), at(35, X)},
                  {{34, 180}, {29, 180}, {22, 180}}},
        walk_case{"FarthestCellOfTheWindow",
                  100,
                  {at(40, S, 120), at(35, X), at(34, X)},
                  {{33, 180}, {29, 180}, {22, 180}}},
        walk_case{"FullWindowRecords12AndTheNextIsStillTried",
                  100,
                  {at(40, S, 120), at(35, X), at(34, X), at(33, T)},
                  {{29, 180}, {22, 180}},
                  12,
                  2000},
        walk_case{"StartAt8WithCells3And2TakenUsesCell1",
                  100,
                  {at(8, S, 120), at(3, X), at(2, X)},
                  {{1, 180}}},
        walk_case{"FillerBecomesASpeedPoint",
                  100,
                  {at(40, S, 120), {35, {.kind = kind::mountain_filler, .gradient = 94}}},
                  {{35, 180}, {29, 180}, {22, 180}}}),
    [](const auto& info) { return info.param.name; });

// Rule C: a point every 8 cells through a slow slowdown, start 40, end 60.
INSTANTIATE_TEST_SUITE_P(
    CadenceThroughSlowSlowdowns, Walk,
    ::testing::Values(walk_case{"At110NoCadence",
                                100,
                                {at(40, S, 110), at(60, E, 110)},
                                {{35, 180}, {29, 180}, {22, 180}}},
                      walk_case{"At109EveryEightCells",
                                100,
                                {at(40, S, 109), at(60, E, 109)},
                                {{35, 180}, {29, 180}, {22, 180}, {48, 180}, {56, 180}}},
                      // The end test comes after the placement: a point due on
                      // the end cell goes to the cell before it.
                      walk_case{"PointDueOnTheEndCellGoesBeforeIt",
                                100,
                                {at(40, S, 60), at(48, E, 60)},
                                {{35, 180}, {29, 180}, {22, 180}, {47, 180}}},
                      walk_case{"FallsBackToTheCellBefore",
                                100,
                                {at(40, S, 60), at(60, E, 60), at(48, X)},
                                {{35, 180}, {29, 180}, {22, 180}, {47, 180}, {55, 180}}},
                      walk_case{"FallsBackToTheCellAfter",
                                100,
                                {at(40, S, 60), at(60, E, 60), at(48, X), at(47, X)},
                                {{35, 180}, {29, 180}, {22, 180}, {49, 180}, {57, 180}}},
                      walk_case{"NoRoomRecords13AndStopsTheCadence",
                                100,
                                {at(40, S, 60), at(60, E, 60), at(47, X), at(48, T), at(49, X)},
                                {{35, 180}, {29, 180}, {22, 180}},
                                13,
                                2400},
                      walk_case{"NoEndCellStopsAtTheLastCellWith13",
                                60,
                                {at(40, S, 60)},
                                {{35, 180}, {29, 180}, {22, 180}, {48, 180}, {56, 180}},
                                13,
                                3000},
                      walk_case{"PointDueAtTheLastCellNeverLooksPastIt",
                                60,
                                {at(52, S, 60), at(59, X), at(60, X)},
                                {{47, 180}, {41, 180}, {34, 180}},
                                13,
                                3000}),
    [](const auto& info) { return info.param.name; });

// Rule D: the first signal up to 12 cells after a slow slowdown's end (60).
INSTANTIATE_TEST_SUITE_P(
    SignalAfterASlowSlowdown, Walk,
    ::testing::Values(walk_case{"TwelveCellsAfterTheEnd",
                                100,
                                {at(40, S, 60), at(60, E, 60), at(72, G)},
                                {{35, 180}, {29, 180}, {22, 180}, {48, 180}, {56, 180}, {71, 180}}},
                      walk_case{"ThirteenCellsAfterTheEndIsIgnored",
                                100,
                                {at(40, S, 60), at(60, E, 60), at(73, G)},
                                {{35, 180}, {29, 180}, {22, 180}, {48, 180}, {56, 180}}},
                      walk_case{"OnlyTheFirstSignal",
                                100,
                                {at(40, S, 60), at(60, E, 60), at(63, G), at(66, G)},
                                {{35, 180}, {29, 180}, {22, 180}, {48, 180}, {56, 180}, {62, 180}}},
                      walk_case{"FastSlowdownGetsNone",
                                100,
                                {at(40, S, 110), at(60, E, 110), at(65, G)},
                                {{35, 180}, {29, 180}, {22, 180}}},
                      walk_case{"FallsBackToTheCellBefore",
                                100,
                                {at(40, S, 60), at(60, E, 60), at(65, G), at(64, X)},
                                {{35, 180}, {29, 180}, {22, 180}, {48, 180}, {56, 180}, {63, 180}}},
                      walk_case{"NoRoomRecords13AtTheEndCell",
                                100,
                                {at(40, S, 60), at(60, E, 60), at(65, G), at(64, X), at(63, T)},
                                {{35, 180}, {29, 180}, {22, 180}, {48, 180}, {56, 180}},
                                13,
                                3000},
                      walk_case{"SearchReachesTheLastCell",
                                62,
                                {at(40, S, 60), at(60, E, 60), at(62, G)},
                                {{35, 180}, {29, 180}, {22, 180}, {48, 180}, {56, 180}, {61, 180}}},
                      walk_case{"SearchNeverPassesTheLastCell",
                                62,
                                {at(40, S, 60), at(60, E, 60)},
                                {{35, 180}, {29, 180}, {22, 180}, {48, 180}, {56, 180}}}),
    [](const auto& info) { return info.param.name; });

// The last two cells are never triggers; the one before them is.
INSTANTIATE_TEST_SUITE_P(
    EndOfTheLine, Walk,
    ::testing::Values(
        walk_case{"LastTwoCellsAreNoTriggers", 60, {at(59, S, 60), at(60, W), at(55, G)}, {}},
        walk_case{
            "ThirdLastCellIsATrigger", 60, {at(58, S, 120)}, {{53, 180}, {47, 180}, {40, 180}}}),
    [](const auto& info) { return info.param.name; });

TEST(WalkTable, ACellCountThatDoesNotMatchTheTableIsRefused) {
  model::scenario_model line = line_of(60, {at(40, S, 60), at(60, E, 60)});
  line.cell_count = 80;
  EXPECT_THROW(assembly::percorri_celle(line), std::logic_error);
  line.cell_count = 40;
  EXPECT_THROW(assembly::percorri_celle(line), std::logic_error);
}

}  // namespace
