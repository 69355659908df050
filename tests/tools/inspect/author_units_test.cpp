// Compiled values in the author's units, and where an object's row stood.
#include "scenario_tool/inspect/author_units.h"

#include <gtest/gtest.h>

namespace {

using scenario_tool::cell_place;
using scenario_tool::in_author_units;

TEST(AuthorUnits, LineSpeedsAndGradientsAsTheTextsWriteThem) {
  EXPECT_EQ(in_author_units("speed_limit", 24), "120 km/h");
  EXPECT_EQ(in_author_units("speed_limit", 0), "0 km/h");
  EXPECT_EQ(in_author_units("gradient", 94), "-6 \u2030");
  EXPECT_EQ(in_author_units("gradient", 112), "12 \u2030");
  EXPECT_EQ(in_author_units("gradient", 100), "0 \u2030");
  EXPECT_EQ(in_author_units("adhesion", 100), std::nullopt);
  EXPECT_EQ(in_author_units("value", 43), std::nullopt);
}

TEST(AuthorUnits, ObjectsThatLandOneCellOnNameTheirRowsChainage) {
  // The shipped signal at 1600 m is in cell 33; its board at 900 m in cell 19.
  EXPECT_EQ(cell_place(33, 1), "cell 33 (1650 m, row at 1600 m)");
  EXPECT_EQ(cell_place(19, 14), "cell 19 (950 m, row at 900 m)");
  EXPECT_EQ(cell_place(26, 6), "cell 26 (1300 m, row at 1250 m)");
  // A slowdown at 16850 m: start in cell 338, warning point in cell 314.
  EXPECT_EQ(cell_place(338, 3), "cell 338 (16900 m, row at 16850 m)");
  EXPECT_EQ(cell_place(314, 4), "cell 314 (15700 m, row at 16850 m)");
  // Cells of their own chainage: empty, speed points, stop points, a slowdown's end.
  EXPECT_EQ(cell_place(40, 0), "cell 40 (2000 m)");
  EXPECT_EQ(cell_place(9, 12), "cell 9 (450 m)");
  EXPECT_EQ(cell_place(13, 10), "cell 13 (650 m)");
  EXPECT_EQ(cell_place(350, 2), "cell 350 (17500 m)");
  EXPECT_EQ(cell_place(0, 1), "cell 0 (0 m)");
}

}  // namespace
