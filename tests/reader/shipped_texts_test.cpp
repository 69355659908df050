// The reader over the two texts that the build carries: no error, and the
// model holds what their rows say.
#include <gtest/gtest.h>

#include "reader_fixture.h"
#include "scenari/scenario_texts.h"

namespace {

using reader::pass_end;

class ShippedTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(f.line(scenari::render_lines(scenari::linea_lines())), pass_end::completed);
    ASSERT_EQ(f.train(scenari::render_lines(scenari::treno_lines())), pass_end::completed);
  }
  const model::track_cell& cell(int c) { return f.m().track_cells.at(c); }
  const model::station_entry& entry(int e) { return f.m().station_table.at(e); }

  testing_support::reader_fixture f;
};

TEST_F(ShippedTexts, ReadWithoutError) {
  EXPECT_EQ(f.m().error_code, 0);
  EXPECT_EQ(f.m().cell_count, 1960);
  EXPECT_EQ(f.m().plan.last_metre(), 98000);
  EXPECT_EQ(f.m().mountain_count, 27);
  EXPECT_EQ(f.state.next_sign_entry, 23);  // 57 sign rows
}

TEST_F(ShippedTexts, LineRowsInTheCells) {
  // "pendenza,  1050,   -3" and "pendenza,  1250,   -6" follow "pendenza,   0,    0".
  EXPECT_EQ(cell(20).gradient, 100);
  EXPECT_EQ(cell(21).gradient, 97);
  EXPECT_EQ(cell(25).gradient, 94);
  // "pendenza,  89000,   12" holds to the end, but for the last three cells.
  EXPECT_EQ(cell(1957).gradient, 112);
  EXPECT_EQ(cell(1958).gradient, 0);
  // "montagna,   950,  1000,  2"
  EXPECT_EQ(cell(19).mountain, 2);
  EXPECT_EQ(cell(18).mountain, 0);
  // "montagna,   89100,  90100,  11": side code 1 with fillers.
  EXPECT_EQ(cell(1782).mountain, 1);
  EXPECT_EQ(cell(1801).mountain, 1);
  EXPECT_EQ(cell(1785).kind, 11);
  // "indicatori_vmax,  1250,  110,  120,  125,  0,  110,  120,  125,  0"
  EXPECT_EQ(cell(26).kind, 6);
  EXPECT_EQ((std::array{cell(26).value, cell(26).value2, cell(26).value3}),
            (std::array<std::int16_t, 3>{2222, 2424, 2525}));
  // "indicatori_vmax,  11850,  120,  130,  130,  0,  ,  ,  ,  0"
  EXPECT_EQ((std::array{cell(238).value, cell(238).value2, cell(238).value3}),
            (std::array<std::int16_t, 3>{2400, 2600, 2600}));
  // The first sign row, at 900 m, in cell 19 and entry 80.
  EXPECT_EQ(cell(19).kind, 14);
  EXPECT_EQ(cell(19).value, 80);
  EXPECT_EQ(entry(80).name, "( CAVALCAVIA)( VIA DELLE )(  FORNACI  )");
}

TEST_F(ShippedTexts, TrainRowsInTheCellsAndStations) {
  EXPECT_EQ(cell(0).speed_limit, 6);      // "velocita,   0,    30"
  EXPECT_EQ(cell(22).speed_limit, 24);    // "velocita,    1100,   120"
  EXPECT_EQ(cell(1957).speed_limit, 19);  // "velocita,   88500,    95" to the end
  EXPECT_EQ(cell(1957).adhesion, 100);

  EXPECT_EQ(entry(1).name, "BRISENA");
  EXPECT_EQ(entry(2).name, "CASTELNUOVO DI VALSERENA");
  EXPECT_EQ(entry(2).start, 3950);
  EXPECT_EQ(entry(2).end, 4550);
  EXPECT_EQ(entry(2).time, 41760);
  EXPECT_EQ(cell(90).kind, 10);
  EXPECT_EQ(cell(90).value, 2);
  EXPECT_EQ(entry(18).name, "TARVO");
  EXPECT_EQ(entry(18).time, 45360);  // 12:36:00
  EXPECT_EQ(entry(19).name, "");
  // The junction at 85250 (type 25) has no stop point.
  EXPECT_EQ(entry(17).kind, 25);
  for (int c = 1700; c <= 1710; ++c) EXPECT_NE(cell(c).kind, 10) << c;

  // "rallentamento,   34600,   105,  200, 0,  1,  105": W 669, S 693, E 697.
  EXPECT_EQ(cell(669).kind, 4);
  EXPECT_EQ(cell(693).kind, 3);
  EXPECT_EQ(cell(693).value2, 105);
  EXPECT_EQ(cell(697).kind, 2);
  EXPECT_EQ(cell(668).kind, 5);
  EXPECT_EQ(cell(668).value2, 1);
}

}  // namespace
