#include "reader/record_stores.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "model/track_cell.h"

namespace {

using model::track_cell;
namespace kind = model::cell_kind;

// A scenario model of a hand-made line of 2001 cells (0 to 2000), all empty.
class RecordStores : public ::testing::Test {
 protected:
  RecordStores() {
    model.cell_count = 2000;
    model.track_cells.assign(2001, {});
    model.error_position = -7;  // the stores never set a position
  }

  track_cell& cell(int i) { return model.track_cells.at(static_cast<std::size_t>(i)); }

  // Indices of the cells that differ from the snapshot.
  std::vector<int> changed_since(const std::vector<track_cell>& before) const {
    std::vector<int> changed;
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (!(before[i] == model.track_cells[i])) changed.push_back(static_cast<int>(i));
    }
    return changed;
  }

 public:
  model::scenario_model model;
};

// ---------------------------------------------------------------- mountain

struct stretch_case {
  std::int32_t inizio, fine, tipo;
  int first_cell, last_cell;
  std::uint8_t side;
  std::vector<int> fillers;
  friend std::ostream& operator<<(std::ostream& os, const stretch_case& c) {
    return os << c.inizio << "-" << c.fine << " type " << c.tipo;
  }
};

class MountainStretch : public RecordStores, public ::testing::WithParamInterface<stretch_case> {};

TEST_P(MountainStretch, MarksItsCellsAndOnlyThem) {
  const stretch_case& c = GetParam();
  const auto before = model.track_cells;
  reader::memo_montagna(model, c.inizio, c.fine, c.tipo);

  EXPECT_EQ(model.mountain_count, 1);
  EXPECT_EQ(model.mountain_start[1], c.inizio);
  EXPECT_EQ(model.mountain_end[1], c.fine);
  // The changed cells, each with its side code and kind.
  std::map<int, std::pair<int, int>> expected, changed;
  for (int i = c.first_cell; i <= c.last_cell; ++i) expected[i] = {c.side, kind::empty};
  for (const int f : c.fillers) expected[f].second = kind::mountain_filler;
  for (const int i : changed_since(before)) changed[i] = {cell(i).mountain, cell(i).kind};
  EXPECT_EQ(changed, expected);
  EXPECT_EQ(model.error_code, 0);
}

INSTANTIATE_TEST_SUITE_P(Stretches, MountainStretch,
                         ::testing::Values(
                             // One cell: 950 / 50 = 19 to 1000 / 50 - 1 = 19.
                             stretch_case{950, 1000, 2, 19, 19, 2, {}},
                             // Above 10: fillers on every 4th cell of the walk, side code 11 - 10.
                             stretch_case{
                                 89100, 90100, 11, 1782, 1801, 1, {1785, 1789, 1793, 1797, 1801}},
                             // Halves go to the even cell: 18.5 -> 18 and 20.5 -> 20.
                             stretch_case{925, 1075, 1, 18, 20, 1, {}},
                             // 19.5 -> 20 and 19.5 -> 20.
                             stretch_case{975, 1025, 2, 20, 20, 2, {}},
                             // Shorter than a cell: 20 to 19, no cell at all.
                             stretch_case{1000, 1020, 2, 20, 19, 0, {}},
                             // Three cells with fillers: the walk never reaches a 4th cell.
                             stretch_case{1000, 1150, 12, 20, 22, 2, {}}));

TEST_F(RecordStores, FillerMarksSkipCellsThatHoldSomething) {
  cell(1785).kind = kind::signal;
  cell(1789).kind = kind::mountain_filler;
  cell(1793).kind = kind::speed_point;
  reader::memo_montagna(model, 89100, 90100, 11);
  EXPECT_EQ(cell(1785).kind, kind::signal);
  EXPECT_EQ(cell(1789).kind, kind::mountain_filler);
  EXPECT_EQ(cell(1793).kind, kind::speed_point);
  EXPECT_EQ(cell(1797).kind, kind::mountain_filler);
  EXPECT_EQ(cell(1785).mountain, 1);
  EXPECT_EQ(cell(1793).mountain, 1);
}

struct gap_case {
  std::int32_t second_start;
  std::int32_t second_tipo;
  std::uint8_t expected_side;
  friend std::ostream& operator<<(std::ostream& os, const gap_case& c) {
    return os << "from " << c.second_start << " type " << c.second_tipo;
  }
};

class MountainGap : public RecordStores, public ::testing::WithParamInterface<gap_case> {};

TEST_P(MountainGap, CloseStretchGetsSideCodeThree) {
  reader::memo_montagna(model, 1000, 2000, 1);
  reader::memo_montagna(model, GetParam().second_start, 3000, GetParam().second_tipo);
  EXPECT_EQ(model.mountain_count, 2);
  EXPECT_EQ(model.mountain_start[2], GetParam().second_start);
  EXPECT_EQ(model.mountain_end[2], 3000);
  const int first = GetParam().second_start / 50;
  for (int i = first; i <= 59; ++i) EXPECT_EQ(cell(i).mountain, GetParam().expected_side) << i;
  EXPECT_EQ(cell(39).mountain, 1);  // the first stretch keeps its own code
}

INSTANTIATE_TEST_SUITE_P(Gaps, MountainGap,
                         ::testing::Values(gap_case{2150, 2, 3},   // 150 m: between two
                                           gap_case{2200, 2, 2},   // 200 m: its own
                                           gap_case{2000, 1, 3},   // touching
                                           gap_case{2150, 12, 3},  // fillers too
                                           gap_case{2250, 12, 2}));

TEST_F(RecordStores, GapIsMeasuredFromThePreviousStretch) {
  reader::memo_montagna(model, 1000, 2000, 1);
  reader::memo_montagna(model, 5000, 6000, 2);  // 3000 m after the first: its own code
  EXPECT_EQ(cell(100).mountain, 2);
  reader::memo_montagna(model, 6100, 7000, 1);  // 100 m after the previous one
  EXPECT_EQ(cell(122).mountain, 3);
  reader::memo_montagna(model, 3000, 3500, 1);  // starts before the previous one ends
  EXPECT_EQ(cell(60).mountain, 3);
  EXPECT_EQ(model.mountain_count, 4);
  EXPECT_EQ(model.mountain_start[4], 3000);
  EXPECT_EQ(model.mountain_end[4], 3500);
}

TEST_F(RecordStores, TheFirstStretchNeverGetsSideCodeThree) {
  // The empty slot 0 holds an end of 0: a stretch from 100 m is still the first.
  reader::memo_montagna(model, 100, 500, 2);
  EXPECT_EQ(cell(2).mountain, 2);
}

TEST_F(RecordStores, AnEightyFirstStretchFailsWithoutWriting) {
  for (int i = 0; i < 80; ++i) reader::memo_montagna(model, 1000 + i * 1000, 1500 + i * 1000, 1);
  ASSERT_EQ(model.mountain_count, 80);
  EXPECT_EQ(model.mountain_start[80], 80000);
  const auto before = model.track_cells;
  EXPECT_THROW(reader::memo_montagna(model, 95000, 96000, 2), std::out_of_range);
  EXPECT_EQ(model.mountain_count, 80);
  EXPECT_EQ(model.mountain_start[80], 80000);
  EXPECT_TRUE(changed_since(before).empty());
}

// --------------------------------------------------------------- indicator

struct indicator_case {
  std::int32_t posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced;
  int cell;
  std::int16_t a, b, c, stripes;
  friend std::ostream& operator<<(std::ostream& os, const indicator_case& c) {
    return os << "at " << c.posizione << " speeds " << c.vas << "/" << c.vad << " " << c.vbs << "/"
              << c.vbd << " " << c.vcs << "/" << c.vcd;
  }
};

class SpeedIndicator : public RecordStores, public ::testing::WithParamInterface<indicator_case> {};

TEST_P(SpeedIndicator, PacksItsSpeedsIntoOneCell) {
  const indicator_case& p = GetParam();
  const auto before = model.track_cells;
  reader::memo_indicatori_v_max(model, p.posizione, p.vas, p.vbs, p.vcs, p.strisces, p.vad, p.vbd,
                                p.vcd, p.strisced);
  EXPECT_EQ(changed_since(before), std::vector<int>{p.cell});
  const track_cell& c = cell(p.cell);
  EXPECT_EQ(c.kind, kind::speed_indicator);
  EXPECT_EQ(c.value, p.a);
  EXPECT_EQ(c.value2, p.b);
  EXPECT_EQ(c.value3, p.c);
  EXPECT_EQ(c.value4, p.stripes);
  EXPECT_EQ(model.error_code, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Indicators, SpeedIndicator,
    ::testing::Values(indicator_case{1250, 110, 120, 125, 0, 110, 120, 125, 0, 26, 2222, 2424, 2525,
                                     0},
                      // Empty right speeds read as 0.
                      indicator_case{11850, 120, 130, 130, 0, 0, 0, 0, 0, 238, 2400, 2600, 2600, 0},
                      indicator_case{1250, 0, 0, 0, 1, 60, 5, 0, 2, 26, 12, 1, 0, 12},
                      // Halves of a cell go to the even one: 1.5 -> 2 and 2.5 -> 2.
                      indicator_case{25, 1, 1, 1, 0, 0, 0, 0, 0, 2, 20, 20, 20, 0},
                      indicator_case{75, 1, 1, 1, 0, 0, 0, 0, 0, 2, 20, 20, 20, 0},
                      // A right speed not a multiple of 5 is rounded: 3 / 5 -> 1, 2 / 5 -> 0.
                      indicator_case{1250, 1, 1, 1, 0, 3, 2, 8, 0, 26, 21, 20, 22, 0},
                      // The largest short fits.
                      indicator_case{1250, 1638, 0, 0, 0, 35, 0, 0, 0, 26, 32767, 0, 0, 0},
                      // The stripes keep the low 16 bits.
                      indicator_case{1250, 0, 0, 0, 4000, 0, 0, 0, 0, 26, 0, 0, 0, -25536}));

TEST_F(RecordStores, IndicatorValueBeyondAShortFailsWithoutWriting) {
  const auto before = model.track_cells;
  // 1639 * 20 = 32780; the first two values fit, the third does not.
  EXPECT_THROW(reader::memo_indicatori_v_max(model, 1250, 1, 1, 1639, 0, 0, 0, 0, 0),
               std::overflow_error);
  EXPECT_THROW(reader::memo_indicatori_v_max(model, 1250, 1, 1, -1639, 0, 0, 0, 0, 0),
               std::overflow_error);
  EXPECT_TRUE(changed_since(before).empty());
  EXPECT_EQ(model.error_code, 0);
}

// ------------------------------------------------------------------ signal

TEST_F(RecordStores, SignalPacksItsAspectsAndMarksItsApproach) {
  cell(29).kind = kind::speed_point;  // an approach cell keeps what it holds
  cell(29).value = 60;
  const auto before = model.track_cells;
  reader::memo_segnale(model, 1600, 2, 4, 1, 0, 0, 1, 3, 1, 0, 205);

  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(changed_since(before), (std::vector<int>{25, 27, 29, 31, 33}));
  const track_cell& s = cell(33);
  EXPECT_EQ(s.kind, kind::signal);
  EXPECT_EQ(s.value, 43);
  EXPECT_EQ(s.value2, 11);
  EXPECT_EQ(s.value3, 0);
  EXPECT_EQ(s.value4, 7);
  EXPECT_EQ(s.signal_time, 205);
  EXPECT_EQ(s.approach, 0);

  const std::pair<int, std::uint8_t> approach[] = {{31, 71}, {29, 72}, {27, 73}, {25, 74}};
  for (const auto& [index, code] : approach) {
    track_cell expected = before[static_cast<std::size_t>(index)];
    expected.approach = code;
    EXPECT_EQ(cell(index), expected) << "cell " << index;
  }
}

struct tempo_case {
  std::int32_t sx, tempo;
  std::uint8_t signal_time;
  friend std::ostream& operator<<(std::ostream& os, const tempo_case& c) {
    return os << "sx " << c.sx << " tempo " << c.tempo;
  }
};

class SignalTime : public RecordStores, public ::testing::WithParamInterface<tempo_case> {};

TEST_P(SignalTime, IsKeptForTypeTwoOnly) {
  reader::memo_segnale(model, 1600, GetParam().sx, 4, 1, 0, 0, 1, 3, 1, 0, GetParam().tempo);
  EXPECT_EQ(cell(33).signal_time, GetParam().signal_time);
}

INSTANTIATE_TEST_SUITE_P(Tempi, SignalTime,
                         ::testing::Values(tempo_case{1, 205, 0}, tempo_case{0, 50, 0},
                                           tempo_case{2, 50, 101}, tempo_case{2, 1, 101},
                                           tempo_case{2, 100, 101}, tempo_case{2, 101, 101},
                                           tempo_case{2, 0, 0},
                                           // Low 8 bits: 300 - 256, and -1 is 255.
                                           tempo_case{2, 300, 44}, tempo_case{2, -1, 255}));

TEST_F(RecordStores, SignalFieldsKeepTheirLowBits) {
  // s1 * 10 + d1 = 40000; the approach codes are (30 * 3 + 0) * 10 + b = 901 to 904.
  reader::memo_segnale(model, 1600, 30, 4000, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(cell(33).value, -25536);
  EXPECT_EQ(cell(33).value4, 90);
  EXPECT_EQ(cell(31).approach, 133);  // 901 - 768
  EXPECT_EQ(cell(25).approach, 136);
}

TEST_F(RecordStores, SignalCellRoundsHalvesToEven) {
  // 1625 / 50 + 1 = 33.5 and 1675 / 50 + 1 = 34.5: both give cell 34.
  reader::memo_segnale(model, 1625, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(cell(34).kind, kind::signal);
  reader::memo_segnale(model, 1675, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(model.error_code, 16);
}

struct near_start_case {
  std::int32_t posizione;
  std::vector<int> changed;  // signal cell and the approach cells that lie on the line
  friend std::ostream& operator<<(std::ostream& os, const near_start_case& c) {
    return os << "at " << c.posizione;
  }
};

class SignalNearTheStart : public RecordStores,
                           public ::testing::WithParamInterface<near_start_case> {};

TEST_P(SignalNearTheStart, SkipsTheApproachBeforeCellZero) {
  const auto before = model.track_cells;
  reader::memo_segnale(model, GetParam().posizione, 1, 4, 1, 0, 0, 0, 3, 1, 0, 0);
  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(changed_since(before), GetParam().changed);
  const int n = GetParam().changed.back();
  EXPECT_EQ(cell(n).kind, kind::signal);
  for (int b = 1; 2 * b <= n; ++b) EXPECT_EQ(cell(n - 2 * b).approach, 30 + b) << b;
}

INSTANTIATE_TEST_SUITE_P(Positions, SignalNearTheStart,
                         ::testing::Values(near_start_case{0, {1}},       // cell 1
                                           near_start_case{100, {1, 3}},  // cell 3
                                           near_start_case{250, {0, 2, 4, 6}},
                                           near_start_case{350, {0, 2, 4, 6, 8}}));

// ---------------------------------------------------------------- slowdown

TEST_F(RecordStores, SlowdownMarksWarningStartEndAndMarkers) {
  const auto before = model.track_cells;
  reader::memo_rallentamento(model, 16850, 115, 600, 0, 1, 0);
  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(changed_since(before), (std::vector<int>{310, 311, 312, 313, 314, 338, 350}));

  track_cell w{}, s{}, e{};
  w.kind = kind::slowdown_warning;
  w.value = 115;
  s.kind = kind::slowdown_start;
  s.value = 115;
  e.kind = kind::slowdown_end;
  e.value = 115;
  EXPECT_EQ(cell(314), w);
  EXPECT_EQ(cell(338), s);
  EXPECT_EQ(cell(350), e);
  for (int r = 0; r <= 3; ++r) {
    track_cell marker{};
    marker.kind = kind::slowdown_marker;
    marker.value = static_cast<std::int16_t>(r + 1);
    EXPECT_EQ(cell(313 - r), marker) << "rank " << r + 1;
  }
}

TEST_F(RecordStores, SlowdownWithASpeedStepAndTimes) {
  reader::memo_rallentamento(model, 16850, 60, 600, 2, 1, 30);
  EXPECT_EQ(model.error_code, 0);
  for (int i : {314, 338, 350}) {
    EXPECT_EQ(cell(i).value, 60) << i;
    EXPECT_EQ(cell(i).value2, 30) << i;
  }
  EXPECT_EQ(cell(314).value3, 0);  // the warning point carries no f_tt
  EXPECT_EQ(cell(338).value3, 2);
  EXPECT_EQ(cell(350).value3, 2);
  for (int r = 0; r <= 3; ++r) {
    EXPECT_EQ(cell(313 - r).value, r + 1);
    EXPECT_EQ(cell(313 - r).value2, r + 1);
  }
}

TEST_F(RecordStores, SlowdownWithoutMarkersLeavesTheirCellsAlone) {
  cell(311).kind = kind::signal;  // would block a marker
  const auto before = model.track_cells;
  reader::memo_rallentamento(model, 16850, 115, 600, 0, 0, 0);
  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(changed_since(before), (std::vector<int>{314, 338, 350}));
}

struct threshold_case {
  std::int32_t x;
  std::vector<int> changed;
  friend std::ostream& operator<<(std::ostream& os, const threshold_case& c) {
    return os << "x " << c.x;
  }
};

class SlowdownNearTheStart : public RecordStores,
                             public ::testing::WithParamInterface<threshold_case> {};

TEST_P(SlowdownNearTheStart, HasAWarningPointOnlyAbove1500) {
  const auto before = model.track_cells;
  reader::memo_rallentamento(model, GetParam().x, 50, 100, 0, 1, 0);
  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(changed_since(before), GetParam().changed);
}

INSTANTIATE_TEST_SUITE_P(Chainages, SlowdownNearTheStart,
                         ::testing::Values(threshold_case{1500, {31, 33}},  // start and end only
                                           threshold_case{100, {3, 5}}, threshold_case{0, {1, 3}},
                                           // W 8, markers 7 to 4, S 32, E 34.
                                           threshold_case{1550, {4, 5, 6, 7, 8, 32, 34}}));

TEST_F(RecordStores, SlowdownAt1500IgnoresATakenWarningCell) {
  cell(7).kind = kind::signal;  // where W would be
  reader::memo_rallentamento(model, 1500, 50, 100, 0, 1, 0);
  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(cell(31).kind, kind::slowdown_start);
}

TEST_F(RecordStores, SlowdownCellsRoundHalvesToEven) {
  // x = 1575: W = round(8.5) = 8 and M = round(7.5) = 8, so the first marker
  // finds the warning point already there.
  reader::memo_rallentamento(model, 1575, 50, 100, 0, 1, 0);
  EXPECT_EQ(model.error_code, 20);
  EXPECT_EQ(cell(8).kind, kind::slowdown_warning);
  EXPECT_EQ(cell(32).kind, kind::slowdown_start);  // round(32.5)
  EXPECT_EQ(cell(34).kind, kind::slowdown_end);    // round(34.5)
}

TEST_F(RecordStores, ShortSlowdownEndsOnItsOwnStartCell) {
  // l = 0: E = S; the start is written after the end.
  reader::memo_rallentamento(model, 16850, 115, 0, 3, 0, 0);
  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(cell(338).kind, kind::slowdown_start);
  EXPECT_EQ(cell(338).value3, 3);
}

TEST_F(RecordStores, SlowdownValuesKeepTheirLowBits) {
  reader::memo_rallentamento(model, 16850, 65536 + 40, 600, -1, 0, 65536 * 2 + 5);
  EXPECT_EQ(cell(338).value, 40);
  EXPECT_EQ(cell(338).value2, 5);
  EXPECT_EQ(cell(338).value3, -1);
}

// ------------------------------------------------ what every store shares

using store_call = std::function<void(model::scenario_model&)>;

const store_call shipped_indicator = [](model::scenario_model& m) {
  reader::memo_indicatori_v_max(m, 1250, 110, 120, 125, 0, 110, 120, 125, 0);  // cell 26
};
const store_call shipped_signal = [](model::scenario_model& m) {
  reader::memo_segnale(m, 1600, 2, 4, 1, 0, 0, 1, 3, 1, 0, 205);  // cell 33
};
// W 314, markers 313 to 310, S 338, E 350.
const store_call shipped_slowdown = [](model::scenario_model& m) {
  reader::memo_rallentamento(m, 16850, 115, 600, 0, 1, 0);
};

// A store whose cell is taken records its code, sets no position and writes
// nothing; only the slowdown's markers are checked after its other cells
// have been written.
struct taken_case {
  const char* name;
  store_call store;
  int taken_cell;
  std::uint8_t occupant;
  std::int32_t code;
  std::vector<int> written;
};

void PrintTo(const taken_case& c, std::ostream* os) {
  *os << c.name;
}

class StoreOnATakenCell : public RecordStores, public ::testing::WithParamInterface<taken_case> {};

TEST_P(StoreOnATakenCell, RecordsItsCodeAndWritesNothingMore) {
  const taken_case& c = GetParam();
  cell(c.taken_cell).kind = c.occupant;
  const auto before = model.track_cells;
  c.store(model);
  EXPECT_EQ(model.error_code, c.code);
  EXPECT_EQ(model.error_position, -7);
  EXPECT_EQ(changed_since(before), c.written);
  EXPECT_EQ(cell(c.taken_cell).kind, c.occupant);
  for (int i = 310; i <= 313; ++i) EXPECT_NE(cell(i).kind, kind::slowdown_marker) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Stores, StoreOnATakenCell,
    ::testing::Values(
        taken_case{"Indicator", shipped_indicator, 26, kind::stop_point, 21, {}},
        taken_case{"Signal", shipped_signal, 33, kind::slowdown_start, 16, {}},
        taken_case{"SlowdownWarningPoint", shipped_slowdown, 314, kind::sign, 17, {}},
        taken_case{"SlowdownStart", shipped_slowdown, 338, kind::sign, 18, {}},
        taken_case{"SlowdownEnd", shipped_slowdown, 350, kind::sign, 19, {}},
        // The marker check comes after W, S and E are written.
        taken_case{"SlowdownFirstMarker", shipped_slowdown, 313, kind::sign, 20, {314, 338, 350}},
        taken_case{"SlowdownLastMarker", shipped_slowdown, 310, kind::sign, 20, {314, 338, 350}}),
    [](const auto& info) { return std::string(info.param.name); });

// A mountain filler counts as free: the store takes the cell, which keeps its
// mountain side code.
struct filler_case {
  const char* name;
  store_call store;
  std::map<int, std::uint8_t> kinds;  // filler cells and the kind each gets
};

void PrintTo(const filler_case& c, std::ostream* os) {
  *os << c.name;
}

class StoreOnAMountainFiller : public RecordStores,
                               public ::testing::WithParamInterface<filler_case> {};

TEST_P(StoreOnAMountainFiller, TakesItsCellAndKeepsTheMountain) {
  for (const auto& [i, k] : GetParam().kinds)
    cell(i) = {.kind = kind::mountain_filler, .mountain = 2};
  GetParam().store(model);
  EXPECT_EQ(model.error_code, 0);
  for (const auto& [i, k] : GetParam().kinds) {
    EXPECT_EQ(cell(i).kind, k) << "cell " << i;
    EXPECT_EQ(cell(i).mountain, 2) << "cell " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Stores, StoreOnAMountainFiller,
    ::testing::Values(filler_case{"Indicator", shipped_indicator, {{26, kind::speed_indicator}}},
                      filler_case{"Signal", shipped_signal, {{33, kind::signal}}},
                      filler_case{"Slowdown",
                                  shipped_slowdown,
                                  {{310, kind::slowdown_marker},
                                   {314, kind::slowdown_warning},
                                   {338, kind::slowdown_start},
                                   {350, kind::slowdown_end}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A row whose cells fall outside the table (cells 0 to 2000) fails before it
// writes anything, and records no code.
struct outside_case {
  const char* name;
  store_call store;
};

void PrintTo(const outside_case& c, std::ostream* os) {
  *os << c.name;
}

class StoreOutsideTheTable : public RecordStores,
                             public ::testing::WithParamInterface<outside_case> {};

TEST_P(StoreOutsideTheTable, FailsWithoutWriting) {
  const auto before = model.track_cells;
  EXPECT_THROW(GetParam().store(model), std::out_of_range);
  EXPECT_TRUE(changed_since(before).empty());
  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(model.mountain_count, 0);
  EXPECT_EQ(model.mountain_start[1], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoreOutsideTheTable,
    ::testing::Values(
        // Cells 1990 to 2009.
        outside_case{"MountainPastTheEnd",
                     [](model::scenario_model& m) { reader::memo_montagna(m, 99500, 100500, 12); }},
        outside_case{"IndicatorPastTheEnd",
                     [](model::scenario_model& m) {
                       reader::memo_indicatori_v_max(m, 100000, 1, 1, 1, 0, 0, 0, 0, 0);
                     }},
        outside_case{"IndicatorBeforeTheStart",
                     [](model::scenario_model& m) {
                       reader::memo_indicatori_v_max(m, -100, 1, 1, 1, 0, 0, 0, 0, 0);
                     }},
        outside_case{"SignalPastTheEnd",
                     [](model::scenario_model& m) {
                       reader::memo_segnale(m, 100000, 2, 4, 1, 0, 0, 1, 3, 1, 0, 205);
                     }},
        outside_case{"SignalBeforeTheStart",
                     [](model::scenario_model& m) {
                       reader::memo_segnale(m, -100, 2, 4, 1, 0, 0, 1, 3, 1, 0, 205);
                     }},
        // W 1957, S 1981, E 2021.
        outside_case{"SlowdownEndingPastTheEnd",
                     [](model::scenario_model& m) {
                       reader::memo_rallentamento(m, 99000, 60, 2000, 0, 1, 0);
                     }},
        outside_case{"SlowdownStartingBeforeTheLine",
                     [](model::scenario_model& m) {
                       reader::memo_rallentamento(m, -200, 60, 600, 0, 0, 0);
                     }}),
    [](const auto& info) { return std::string(info.param.name); });

// Up to the last cell exactly is fine.
struct last_cell_case {
  const char* name;
  store_call store;
  std::uint8_t kind;
  std::uint8_t mountain;
};

void PrintTo(const last_cell_case& c, std::ostream* os) {
  *os << c.name;
}

class StoreOnTheLastCell : public RecordStores,
                           public ::testing::WithParamInterface<last_cell_case> {};

TEST_P(StoreOnTheLastCell, IsStored) {
  GetParam().store(model);
  EXPECT_EQ(model.error_code, 0);
  EXPECT_EQ(cell(2000).kind, GetParam().kind);
  EXPECT_EQ(cell(2000).mountain, GetParam().mountain);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoreOnTheLastCell,
    ::testing::Values(
        last_cell_case{"Mountain",
                       [](model::scenario_model& m) { reader::memo_montagna(m, 99500, 100050, 2); },
                       kind::empty, 2},
        last_cell_case{"Indicator",
                       [](model::scenario_model& m) {
                         reader::memo_indicatori_v_max(m, 99950, 1, 1, 1, 0, 0, 0, 0, 0);
                       },
                       kind::speed_indicator, 0},
        last_cell_case{"Signal",
                       [](model::scenario_model& m) {
                         reader::memo_segnale(m, 99950, 2, 4, 1, 0, 0, 1, 3, 1, 0, 205);
                       },
                       kind::signal, 0},
        last_cell_case{"SlowdownEnd",
                       [](model::scenario_model& m) {
                         reader::memo_rallentamento(m, 99000, 60, 950, 0, 1, 0);
                       },
                       kind::slowdown_end, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
