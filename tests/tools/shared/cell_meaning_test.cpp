#include "scenario_tool/shared/cell_meaning.h"

#include <gtest/gtest.h>

#include <string>

#include "model/track_cell.h"

namespace {

using scenario_tool::cell_meaning;
using scenario_tool::field_meaning;

// Each packed field, read back into the values of the row that packed it.
TEST(CellMeaning, EachPackedFieldReadsBackIntoTheRowsValues) {
  struct case_ {
    std::uint8_t kind;
    const char* field;
    std::int64_t stored;
    const char* meaning;
  };
  constexpr std::uint8_t signal = model::cell_kind::signal;
  constexpr std::uint8_t indicator = model::cell_kind::speed_indicator;
  const case_ cases[] = {
      // A signal: S1 x 10 + D1, ..., RAPP x 10 + SX x 3 + DX.
      {signal, "value", 43, "S1 4, D1 3"},
      {signal, "value2", 11, "S2 1, D2 1"},
      {signal, "value3", 0, "S3 0, D3 0"},
      {signal, "value4", 7, "RAPP 0, SX 2, DX 1"},
      {signal, "value4", 98, "RAPP 9, SX 2, DX 2"},
      {signal, "value", 100, "S1, D1 not decodable (100 is not S1 × 10 + D1 with digits 0 to 9)"},
      {signal, "value4", 9,
       "RAPP, SX, DX not decodable (9 is not RAPP × 10 + SX × 3 + DX with SX and DX 0 to 2)"},
      {signal, "signal_time", 205, ""},
      // A speed indicator: left x 20 + right / 5 per rank, left x 10 + right stripes.
      {indicator, "value", 2222, "rank A: left 110 km/h, right 110 km/h"},
      {indicator, "value3", 2400, "rank C: left 120 km/h, right 0 km/h"},
      {indicator, "value4", 21, "stripes: left 2, right 1"},
      {indicator, "value", -5, "rank A not decodable (-5 is below 0)"},
      // Approach codes: a signal's (SX x 3 + DX) x 10 + b, b x 100 m before it;
      // a station's 80 + r, r cells before its stop point.
      {model::cell_kind::empty, "approach", 71, "a signal 100 m ahead (SX 2, DX 1)"},
      {model::cell_kind::slowdown_start, "approach", 34, "a signal 400 m ahead (SX 1, DX 0)"},
      {model::cell_kind::empty, "approach", 83,
       "a station's stop point 150 m ahead, or a signal 300 m ahead (SX 2, DX 2)"},
      {model::cell_kind::empty, "approach", 0, ""},
      {model::cell_kind::empty, "approach", 75, "approach code 75 is none the compile writes"},
      {model::cell_kind::empty, "approach", 95, "approach code 95 is none the compile writes"},
      // Other kinds keep their numbers as they are.
      {model::cell_kind::slowdown_start, "value", 115, ""},
  };
  for (const case_& c : cases) {
    EXPECT_EQ(field_meaning(c.kind, c.field, c.stored), c.meaning)
        << "kind " << int{c.kind} << ", " << c.field << " " << c.stored;
  }
}

TEST(CellMeaning, ACellJoinsItsFieldsInFileOrder) {
  model::track_cell cell;
  cell.kind = model::cell_kind::signal;
  cell.value = 43;
  cell.value2 = 11;
  cell.value4 = 7;
  cell.approach = 74;  // a signal further on has its own code here
  EXPECT_EQ(cell_meaning(cell),
            "S1 4, D1 3; S2 1, D2 1; S3 0, D3 0; RAPP 0, SX 2, DX 1; a signal 400 m ahead (SX 2, "
            "DX 1)");
  EXPECT_EQ(cell_meaning(model::track_cell{}), "");
}

}  // namespace
