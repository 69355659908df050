#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "reader/field_reader.h"
#include "reader_fixture.h"

namespace {

using reader::pass_end;
using testing_support::crlf_text;
using testing_support::line_text;
using testing_support::reader_fixture;

// A fixture whose line pass has made the cells of a line, 2000 m long unless
// a test needs more: cells 0 to 180, so that a row at 8900 m is the last that
// the range check accepts.
struct train_fixture : reader_fixture {
  explicit train_fixture(int length = 2000) : reader_fixture(0) { line(line_text(length, "")); }

  pass_end rows(std::initializer_list<std::string> lines) {
    std::string text = "[generale]\r\n";
    text += crlf_text(lines);
    return train(text);
  }
  const model::track_cell& cell(int c) { return m().track_cells.at(c); }
  const model::station_entry& entry(int e) { return m().station_table.at(e); }
};

const std::string first_station =
    "stazione,       0,  7,  700,  1, 0, 0,  3,1,0,  2,1,1,    1,  11,30, 0, BRISENA";
const std::string second_station =
    "stazione,    4250, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,   30,  11,36, 0, CASTELNUOVO DI "
    "VALSERENA";

TEST(TrainGeneral, StoresTrainDataClockAndSand) {
  train_fixture f;
  ASSERT_EQ(f.rows({"numero vetture,    5", "percentuale massa frenata,    115", "sabbia,    300",
                    "orologio,    11              29            30 "}),
            pass_end::completed);
  EXPECT_EQ(f.entry(84).position, 5);
  EXPECT_EQ(f.entry(84).start, 115);
  EXPECT_EQ(f.entry(86).group1_a, 300);
  EXPECT_EQ((std::array{f.entry(86).group2_a, f.entry(86).group2_b, f.entry(86).group2_c}),
            (std::array<std::int16_t, 3>{11, 29, 30}));
}

TEST(TrainGeneral, ShortFieldsKeepTheirLowBits) {
  train_fixture f;
  ASSERT_EQ(f.rows({"sabbia,    65836"}), pass_end::completed);
  EXPECT_EQ(f.entry(86).group1_a, 300);  // 65836 - 65536
}

TEST(TrainFills, SpeedsFromEachRowOnwardsInFifthsWithTheTail) {
  train_fixture f;
  ASSERT_EQ(f.rows({"velocita,   0,    30", "velocita,    1100,   120", "velocita,   2000,    75"}),
            pass_end::completed);
  const int last = f.m().cell_count;  // 180
  EXPECT_EQ(f.cell(0).speed_limit, 6);
  EXPECT_EQ(f.cell(21).speed_limit, 6);
  EXPECT_EQ(f.cell(22).speed_limit, 24);
  EXPECT_EQ(f.cell(39).speed_limit, 24);
  EXPECT_EQ(f.cell(40).speed_limit, 15);
  EXPECT_EQ(f.cell(last - 3).speed_limit, 15);
  EXPECT_EQ(f.cell(last - 2).speed_limit, 0);
}

TEST(TrainFills, SpeedsRoundTheirFifthHalfToEven) {
  train_fixture f;
  ASSERT_EQ(f.rows({"velocita,   0,    62", "velocita,   50,    63"}), pass_end::completed);
  EXPECT_EQ(f.cell(0).speed_limit, 12);  // 12.4
  EXPECT_EQ(f.cell(1).speed_limit, 13);  // 12.6
}

TEST(TrainFills, ASpeedWhoseFifthDoesNotFitAByteCannotBeStored) {
  train_fixture f;
  EXPECT_THROW(f.rows({"velocita,   0,    1280"}), std::overflow_error);
}

TEST(TrainFills, AdhesionHoldsForTheWholeLineButTheLastThreeCells) {
  train_fixture f;
  ASSERT_EQ(f.rows({"aderenza,   0,    100"}), pass_end::completed);
  const int last = f.m().cell_count;
  EXPECT_EQ(f.cell(0).adhesion, 100);
  EXPECT_EQ(f.cell(last - 3).adhesion, 100);
  EXPECT_EQ(f.cell(last - 2).adhesion, 0);
  EXPECT_EQ(f.cell(last).adhesion, 0);
}

TEST(TrainStations, TheShippedFirstTwoStations) {
  train_fixture f;
  ASSERT_EQ(f.rows({first_station, second_station}), pass_end::completed);
  const auto& origin = f.entry(1);
  EXPECT_EQ(origin.kind, 7);
  EXPECT_EQ(origin.start, -700);
  EXPECT_EQ(origin.end, 700);
  EXPECT_EQ(origin.position, 0);
  EXPECT_EQ(origin.flag_a, 1);
  EXPECT_EQ(origin.time, 41400);
  EXPECT_EQ(origin.name, "BRISENA");
  EXPECT_EQ((std::array{origin.group1_a, origin.group1_b, origin.group2_a, origin.group2_b,
                        origin.group2_c}),
            (std::array<std::int16_t, 5>{3, 1, 2, 1, 1}));
  EXPECT_EQ(origin.stop, 1);
  EXPECT_EQ(f.cell(13).kind, 10);
  EXPECT_EQ(f.cell(13).value, 1);
  for (int r = 1; r <= 4; ++r) EXPECT_EQ(f.cell(13 - r).approach, 80 + r) << r;

  const auto& stop = f.entry(2);
  EXPECT_EQ(stop.start, 3950);
  EXPECT_EQ(stop.end, 4550);
  EXPECT_EQ(stop.time, 41760);
  EXPECT_EQ(stop.name, "CASTELNUOVO DI VALSERENA");
  EXPECT_EQ(f.cell(90).kind, 10);
  EXPECT_EQ(f.cell(90).value, 2);
  for (int r = 1; r <= 4; ++r) EXPECT_EQ(f.cell(90 - r).approach, 80 + r) << r;
}

struct platform_case {
  std::string name;
  std::string row;  // second station, after the shipped first one
  std::int32_t start, end;
  std::uint8_t end_shift, flag_b;
  int stop_cell;  // -1: no stop point
  bool approach;
};

void PrintTo(const platform_case& c, std::ostream* os) {
  *os << c.name;
}

class TrainStationPlatform : public ::testing::TestWithParam<platform_case> {};

TEST_P(TrainStationPlatform, PlatformStopPointAndApproachByType) {
  train_fixture f;
  ASSERT_EQ(f.rows({first_station, GetParam().row}), pass_end::completed);
  EXPECT_EQ(f.m().error_code, 0);
  const auto& e = f.entry(2);
  EXPECT_EQ(e.start, GetParam().start);
  EXPECT_EQ(e.end, GetParam().end);
  EXPECT_EQ(e.end_shift, GetParam().end_shift);
  EXPECT_EQ(e.flag_b, GetParam().flag_b);
  const int end_cell = GetParam().end / 50;
  if (GetParam().stop_cell >= 0) {
    EXPECT_EQ(f.cell(GetParam().stop_cell).kind, 10);
  } else {
    EXPECT_EQ(f.cell(end_cell - 1).kind, 0);
  }
  EXPECT_EQ(f.cell(end_cell - 2).approach, GetParam().approach ? 81 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Types, TrainStationPlatform,
    ::testing::Values(
        platform_case{"Type12ShiftedEnd",
                      "stazione,   4300, 12,  800,  0, 1, 1,  1,1,0,  4,1,1,  0,  0, 0, 0, S. "
                      "MARCO DEI CAMPI",
                      3900, 4750, 1, 1, 94, true},
        platform_case{"ShortPlatformClearsFlagB",
                      "stazione,   4300, 12,  500,  0, 1, 0,  1,1,0,  4,1,1,  0,  0, 0, 0, X", 4050,
                      4550, 0, 0, 90, true},
        platform_case{"Platform600KeepsFlagB",
                      "stazione,   4300, 12,  600,  0, 1, 0,  1,1,0,  4,1,1,  0,  0, 0, 0, X", 4000,
                      4600, 0, 1, 91, true},
        platform_case{"Type5StopButNoApproach",
                      "stazione,   4300, 5,  600,  0, 0, 1,  1,1,0,  4,1,1,  0,  0, 0, 0, X", 3700,
                      4450, 0, 0, 88, false},
        platform_case{"Type6StopButNoApproach",
                      "stazione,   4300, 6,  600,  0, 1, 1,  1,1,0,  4,1,1,  0,  0, 0, 0, X", 3700,
                      4450, 0, 1, 88, false},
        platform_case{"Type8",
                      "stazione,   4300, 8,  400,  0, 0, 1,  1,1,0,  4,1,1,  0,  0, 0, 0, X", 3900,
                      4700, 0, 0, 93, true},
        platform_case{
            "Type25NoStopNoApproach",
            "stazione,   4300, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,  0,  0, 0, 0, VALLECUPA", 4200,
            4400, 0, 0, -1, false}),
    [](const auto& info) { return info.param.name; });

struct station_error_case {
  std::string name;
  std::string row;
  std::int32_t code;
  std::int32_t position;
};

void PrintTo(const station_error_case& c, std::ostream* os) {
  *os << c.name;
}

class TrainStationErrors : public ::testing::TestWithParam<station_error_case> {};

TEST_P(TrainStationErrors, StopThePassWithTheirCodeAndPosition) {
  train_fixture f;
  f.m().error_position = -1;
  EXPECT_EQ(f.rows({first_station, GetParam().row, "sabbia,    300"}), pass_end::stopped);
  EXPECT_EQ(f.m().error_code, GetParam().code);
  EXPECT_EQ(f.m().error_position, GetParam().position);
  EXPECT_EQ(f.entry(86).group1_a, 0);  // nothing after the row was read
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TrainStationErrors,
    ::testing::Values(
        station_error_case{"NotAMultipleOf50",
                           "stazione,   4260, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,  0,  0, 0, 0, X",
                           8, 4260},
        station_error_case{"PlatformNotAMultipleOf100",
                           "stazione,   4250, 12,  650,  0, 0, 0,  1,1,0,  4,1,1,  0,  0, 0, 0, X",
                           9, 4250},
        // 300 m between the first platform's end (700) and this one's start (1000).
        station_error_case{"PlatformsTooClose",
                           "stazione,   1300, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,  0,  0, 0, 0, X",
                           22, 1300},
        station_error_case{"SpeedPointOnAnOccupiedCell", "abbattimento,   650,  60", 7, 650}),
    [](const auto& info) { return info.param.name; });

TEST(TrainStations, PlatformsExactly350MetresApartAreAccepted) {
  train_fixture f;
  ASSERT_EQ(f.rows({first_station,
                    "stazione,   1350, 12,  600,  0, 0, 0,  1,1,0,  4,1,1,  0,  0, 0, 0, X"}),
            pass_end::completed);
  EXPECT_EQ(f.m().error_code, 0);
}

TEST(TrainStations, AStopCellNotAboveOneGivesError24WithoutPosition) {
  train_fixture f;
  f.m().error_position = -1;
  EXPECT_EQ(f.rows({"stazione,   0, 12,  100,  0, 0, 0,  1,1,0,  4,1,1,  0,  0, 0, 0, X"}),
            pass_end::stopped);
  EXPECT_EQ(f.m().error_code, 24);
  EXPECT_EQ(f.m().error_position, -1);
}

// A station's range check has a wider margin: (position + 800) / 50 may equal
// the last cell (180), and is computed in floating point.
TEST(TrainStations, TheWiderRangeCheckAcceptsTheLastCellAndStopsWith15Beyond) {
  struct {
    std::int32_t position;
    std::int32_t error;
  } const cases[] = {{8200, 0}, {8170, 8}, {8230, 15}, {8250, 15}};
  for (const auto& c : cases) {
    train_fixture f;
    const std::string station = "stazione,  " + std::to_string(c.position) +
                                ", 12,  200,  0, 0, 0,  1,1,0,  4,1,1,  0,  0, 0, 0, X";
    f.rows({station, "velocita,   0,    30"});
    EXPECT_EQ(f.m().error_code, c.error) << c.position;
    EXPECT_EQ(f.entry(1).position, c.position);
    if (c.error == 15) {
      EXPECT_EQ(f.m().error_position, c.position);
      EXPECT_EQ(f.cell(0).speed_limit, 0) << "reading stopped; the tail uses the speed so far";
    }
  }
  train_fixture f;
  ASSERT_EQ(f.rows({"stazione,  8200, 12,  200,  0, 0, 0,  1,1,0,  4,1,1,  0,  0, 0, 0, X"}),
            pass_end::completed);
  EXPECT_EQ(f.entry(1).end, 8300);
  EXPECT_EQ(f.cell(165).kind, 10);
}

// The first station clears its end shift and flag B, but only after its
// platform has been laid out: its end keeps the shift's 50 m.
TEST(TrainStations, TheFirstStationKeepsItsShiftedEndAndClearsItsFlags) {
  train_fixture f;
  ASSERT_EQ(f.rows({"stazione,   1000, 12,  600,  0, 1, 1,  1,1,0,  4,1,1,  0,  0, 0, 0, X"}),
            pass_end::completed);
  const auto& e = f.entry(1);
  EXPECT_EQ(e.start, 700);
  EXPECT_EQ(e.end, 1350);
  EXPECT_EQ(e.end_shift, 0);
  EXPECT_EQ(e.flag_b, 0);
  EXPECT_EQ(f.cell(26).kind, 10);  // 1350 / 50 - 1
}

TEST(TrainStations, The22ndStationAfter57SignsIsStoredThenRejected) {
  train_fixture f(91000);
  f.state.next_sign_entry = 23;  // what 57 sign rows leave
  std::vector<std::string> rows;
  std::string text = "[generale]\r\n";
  for (int n = 0; n < 22; ++n) {
    text += "stazione,  " + std::to_string(1000 + 2000 * n) +
            ", 12,  200,  0, 0, 0,  1,1,0,  4,1,1,  0,  0, 0, 0, S" + std::to_string(n + 1) +
            "\r\n";
  }
  EXPECT_EQ(f.train(text), pass_end::stopped);
  EXPECT_EQ(f.m().error_code, 10);
  EXPECT_EQ(f.entry(21).name, "S21");
  EXPECT_EQ(f.entry(22).name, "S22");
}

TEST(TrainSpeedPoints, WithAndWithoutASpeed) {
  train_fixture f;
  ASSERT_EQ(f.rows({"abbattimento,   1000,  60", "abbattimento,   2000,  0"}), pass_end::completed);
  EXPECT_EQ(f.cell(20).kind, 12);
  EXPECT_EQ(f.cell(20).value, 60);
  EXPECT_EQ(f.cell(40).kind, 13);
  EXPECT_EQ(f.cell(40).value, 0);
}

TEST(TrainStores, SignalsAndSlowdownsGoToTheirStores) {
  train_fixture f(91000);
  ASSERT_EQ(f.rows({"segnale,    1600,   2, 4, 1,  0, 0,    1,  3,1,0, 205",
                    "rallentamento,   16850,   115,  600, 0,  1,  0"}),
            pass_end::completed);
  EXPECT_EQ(f.cell(33).kind, 1);
  EXPECT_EQ(f.cell(33).signal_time, 205);
  EXPECT_EQ(f.cell(338).kind, 3);
  EXPECT_EQ(f.cell(350).kind, 2);
}

TEST(TrainStores, AStoreErrorStopsThePassWithTheRowsPosition) {
  train_fixture f;
  EXPECT_EQ(f.rows({"segnale,    1600,   2, 4, 1,  0, 0,    1,  3,1,0, 205",
                    "segnale,    1600,   2, 4, 1,  0, 0,    1,  3,1,0, 205", "sabbia,  1"}),
            pass_end::stopped);
  EXPECT_EQ(f.m().error_code, 16);
  EXPECT_EQ(f.m().error_position, 1600);
  EXPECT_EQ(f.entry(86).group1_a, 0);
}

TEST(TrainStores, AnEarlierErrorDoesNotStopTheStores) {
  train_fixture f;
  f.m().record_error(15, 91000);  // left by the line pass
  ASSERT_EQ(f.rows({"segnale,    1600,   2, 4, 1,  0, 0,    1,  3,1,0, 205", "sabbia,  1"}),
            pass_end::completed);
  EXPECT_EQ(f.cell(33).kind, 1);
  EXPECT_EQ(f.entry(86).group1_a, 1);
  EXPECT_EQ(f.m().error_code, 15);
  EXPECT_EQ(f.m().error_position, 91000);
}

// Each chainage reference's first and second number must be a multiple of 50;
// the check comes after everything else has been read.
TEST(TrainEnd, ReferencesNotOnA50MetreChainageGiveError2AtTheEnd) {
  for (const int e : {81, 82, 83}) {
    for (const bool second : {false, true}) {
      train_fixture f;
      (second ? f.m().station_table[e].end : f.m().station_table[e].start) = 125;
      ASSERT_EQ(f.rows({"aderenza,   0,    100"}), pass_end::completed);
      EXPECT_EQ(f.m().error_code, 2) << "entry " << e << (second ? " end" : " start");
      EXPECT_EQ(f.cell(0).adhesion, 100);
    }
  }
  train_fixture f;
  auto& reference = f.m().station_table[81];
  reference.start = -12800;
  reference.end = 12750;
  reference.position = 125;
  ASSERT_EQ(f.rows({"aderenza,   0,    100"}), pass_end::completed);
  EXPECT_EQ(f.m().error_code, 0) << "the flag is not checked";
}

// Adhesion keeps the low 8 bits of its value.
TEST(TrainFills, AdhesionKeepsItsLowEightBits) {
  train_fixture f;
  ASSERT_EQ(f.rows({"aderenza,   0,    300"}), pass_end::completed);
  EXPECT_EQ(f.cell(0).adhesion, 44);
  EXPECT_EQ(f.cell(f.m().cell_count - 3).adhesion, 44);
}

TEST(TrainBody, AKeywordInsideADashFieldIsNotRead) {
  train_fixture f;
  ASSERT_EQ(f.rows({"- velocita,  500,  60", "-- aderenza,  0,  100"}), pass_end::completed);
  std::vector<int> filled;
  for (int c = 0; c <= f.m().cell_count; ++c) {
    if (f.cell(c).speed_limit != 0 || f.cell(c).adhesion != 0) filled.push_back(c);
  }
  EXPECT_EQ(filled, std::vector<int>{});
}

// Every row of the train text that lies along the line is range-checked with
// a margin of 100 m: on the 2000 m line (last cell 180) a row at 8900 is the
// last accepted, (8900 + 100) / 50 = 180; one at 8950 stops the reading with
// error 15 and its chainage, and so does one at 8920 (180.4, which whole-number
// division would accept).
struct train_range_case {
  std::string keyword;
  std::string values;  // after the row's first number
};

void PrintTo(const train_range_case& c, std::ostream* os) {
  *os << c.keyword;
}

class TrainRangeCheck : public ::testing::TestWithParam<train_range_case> {};

TEST_P(TrainRangeCheck, AcceptsTheLastCellAndStopsWith15Beyond) {
  const auto row = [&](int p) {
    return GetParam().keyword + ",  " + std::to_string(p) + GetParam().values;
  };
  {
    train_fixture f;
    EXPECT_EQ(f.rows({row(8900)}), pass_end::completed);
    EXPECT_EQ(f.m().error_code, 0);
  }
  for (const int p : {8920, 8950}) {
    train_fixture f;
    EXPECT_EQ(f.rows({row(p), "sabbia,    300"}), pass_end::completed) << p;
    EXPECT_EQ(f.m().error_code, 15) << p;
    EXPECT_EQ(f.m().error_position, p);
    EXPECT_EQ(f.entry(86).group1_a, 0) << "reading stopped at the row";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TrainRangeCheck,
    ::testing::Values(train_range_case{"velocita", ",  60"}, train_range_case{"aderenza", ",  100"},
                      train_range_case{"segnale", ",   2, 4, 1,  0, 0,    1,  3,1,0, 205"},
                      train_range_case{"rallentamento", ",   60,  0, 0,  1,  0"},
                      train_range_case{"abbattimento", ",  60"}),
    [](const auto& info) { return info.param.keyword; });

TEST(TrainLayout, WithoutGeneraleNoRowIsRead) {
  train_fixture f;
  ASSERT_EQ(f.train(crlf_text({"sabbia,    300", "velocita,   0,    30"})), pass_end::completed);
  EXPECT_EQ(f.entry(86).group1_a, 0);
  EXPECT_EQ(f.cell(0).speed_limit, 0);
}

}  // namespace
