#include <gtest/gtest.h>

#include <array>
#include <cmath>
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

struct length_case {
  int length;
  std::int32_t cell_count;
  std::int32_t error;
};

void PrintTo(const length_case& c, std::ostream* os) {
  *os << c.length << " m";
}

class LineLength : public ::testing::TestWithParam<length_case> {};

TEST_P(LineLength, SizesTheCellsAndThePlan) {
  reader_fixture f;
  const auto end = f.line(line_text(GetParam().length, ""));
  EXPECT_EQ(f.m().error_code, GetParam().error);
  EXPECT_EQ(f.m().station_table[84].end, GetParam().length);
  if (GetParam().error != 0) {
    EXPECT_EQ(end, pass_end::stopped);
    EXPECT_TRUE(f.m().track_cells.empty());
    return;
  }
  EXPECT_EQ(end, pass_end::completed);
  EXPECT_EQ(f.m().extended_length, GetParam().length + 7000);
  EXPECT_EQ(f.m().cell_count, GetParam().cell_count);
  EXPECT_EQ(f.m().track_cells.size(), static_cast<std::size_t>(GetParam().cell_count) + 1);
  EXPECT_EQ(f.m().plan.last_metre(), GetParam().length + 7000);
}

INSTANTIATE_TEST_SUITE_P(Lengths, LineLength,
                         ::testing::Values(length_case{91000, 1960, 0},
                                           length_case{25, 140, 0},  // 140.5 rounds to even
                                           length_case{75, 142, 0},  // 141.5 rounds to even
                                           length_case{1000000, 20140, 0},
                                           length_case{1000001, 0, 1}),
                         [](const auto& info) { return "L" + std::to_string(info.param.length); });

TEST(LinePlan, StraightThenTheFirstShippedCurve) {
  reader_fixture f;
  ASSERT_EQ(f.line(line_text(91000, "curvad2,  1150,  250\r\n")), pass_end::completed);
  const auto& plan = f.m().plan;
  EXPECT_EQ(plan.at(0, 0).tag, model::plan_tag::short_int);
  EXPECT_EQ(plan.at(1, 1), (model::plan_value{model::plan_tag::short_int, 1.0}));
  EXPECT_EQ(plan.at(2, 0), (model::plan_value{model::plan_tag::real, 0.0}));
  EXPECT_EQ(plan.number(1150, 0), 0.0);
  EXPECT_EQ(plan.number(1150, 1), 1150.0);
  EXPECT_DOUBLE_EQ(plan.number(1151, 0), 0.0002);
  EXPECT_EQ(plan.number(1151, 1), 1151.0);
  EXPECT_NEAR(plan.number(1152, 0), 0.0006, 1e-12);
  EXPECT_NEAR(plan.number(1152, 1), 1151.99999996, 1e-9);
  EXPECT_NEAR(plan.number(1400, 0), 6.2737, 5e-5);
  EXPECT_NEAR(plan.number(1400, 1), 1399.8958, 5e-5);
  // The tail runs straight to metre L + 6998; the last two metres stay empty.
  EXPECT_EQ(plan.at(97998, 1).tag, model::plan_tag::real);
  EXPECT_EQ(plan.at(97999, 0).tag, model::plan_tag::empty);
  EXPECT_EQ(plan.at(98000, 1).tag, model::plan_tag::empty);
  const double heading_dx = plan.number(97998, 0) - plan.number(97997, 0);
  EXPECT_NEAR(heading_dx, plan.number(1401, 0) - plan.number(1400, 0), 1e-9);
}

TEST(LinePlan, StepIsTheUnfusedProductThenSum) {
  reader_fixture f;
  ASSERT_EQ(f.line(line_text(1000, "curvad4,  100,  50\r\n")), pass_end::completed);
  const auto& plan = f.m().plan;
  const double k = 0.001;
  for (int c = 101; c <= 150; ++c) {
    const double dx = plan.number(c - 1, 0) - plan.number(c - 2, 0);
    const double dy = plan.number(c - 1, 1) - plan.number(c - 2, 1);
    volatile double product = dy * k;  // rounded to double before the sum
    volatile double cross = dx * k;
    EXPECT_EQ(plan.number(c, 0), (product + dx) + plan.number(c - 1, 0)) << c;
    EXPECT_EQ(plan.number(c, 1), (dy - cross) + plan.number(c - 1, 1)) << c;
  }
}

TEST(LinePlan, LeftCurvesMirrorRightOnes) {
  reader_fixture right;
  reader_fixture left;
  ASSERT_EQ(right.line(line_text(1000, "curvad3,  100,  200\r\n")), pass_end::completed);
  ASSERT_EQ(left.line(line_text(1000, "curvas3,  100,  200\r\n")), pass_end::completed);
  EXPECT_GT(right.m().plan.number(300, 0), 0.0);
  EXPECT_EQ(left.m().plan.number(300, 0), -right.m().plan.number(300, 0));
  EXPECT_EQ(left.m().plan.number(300, 1), right.m().plan.number(300, 1));
  // k = 0.0004: the first curved metre moves x by 0.0004.
  EXPECT_DOUBLE_EQ(left.m().plan.number(101, 0), -0.0004);
}

TEST(LinePlan, CurveWithoutARadiusDigitStopsThePassWithError103) {
  reader_fixture f;
  EXPECT_EQ(f.line(line_text(1000, "curvad7,  100,  50\r\npendenza,  500,   3\r\n")),
            pass_end::stopped);
  EXPECT_EQ(f.m().error_code, 103);
  EXPECT_EQ(f.m().track_cells[20].gradient, 0);  // nothing after it was read
}

TEST(LinePlan, CurvesAreIgnoredWithoutPlan) {
  reader_fixture f(0);
  ASSERT_EQ(f.line(line_text(1000, "curvad7,  100,  50\r\n")), pass_end::completed);
  EXPECT_EQ(f.m().error_code, 0);
  EXPECT_FALSE(f.m().plan.exists());
}

TEST(LinePlan, ACurveRunningPastThePlanIsAReadFailure) {
  reader_fixture f;
  EXPECT_THROW(f.line(line_text(1000, "curvad1,  7900,  500\r\n")), std::out_of_range);
}

TEST(LineGradient, FillsFromEachRowOnwardsAndTheTail) {
  reader_fixture f;
  ASSERT_EQ(f.line(line_text(1000, crlf_text({"pendenza,   0,    0", "pendenza,  1050,   -3",
                                              "pendenza,  1250,   -6"}))),
            pass_end::completed);
  // Runs of equal gradients: first cell, last cell, gradient. The last three
  // cells (158 to 160) keep 0.
  std::vector<std::array<int, 3>> runs;
  const auto& cells = f.m().track_cells;
  for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
    if (runs.empty() || runs.back()[2] != cells[c].gradient)
      runs.push_back({c, c, cells[c].gradient});
    runs.back()[1] = c;
  }
  EXPECT_EQ(runs, (std::vector<std::array<int, 3>>{
                      {0, 20, 100}, {21, 24, 97}, {25, 157, 94}, {158, 160, 0}}));
}

TEST(LineGradient, TwelveIsStoredAs112AndARowAtZeroOnlySetsTheGradient) {
  reader_fixture f;
  ASSERT_EQ(f.line(line_text(1000, "pendenza,  0,   12\r\n")), pass_end::completed);
  EXPECT_EQ(f.m().track_cells[0].gradient, 112);
  EXPECT_EQ(f.m().track_cells[157].gradient, 112);
  EXPECT_EQ(f.m().track_cells[158].gradient, 0);
}

struct repetition_case {
  std::string name;
  std::string row;
  std::int32_t start, end, count, error;
};

void PrintTo(const repetition_case& c, std::ostream* os) {
  *os << c.name;
}

class SignalRepetition : public ::testing::TestWithParam<repetition_case> {};

TEST_P(SignalRepetition, StoresBoundsAndCodeCount) {
  reader_fixture f;
  f.line("[generale]\r\nlunghezza percorso,    91000\r\n" + GetParam().row + "\r\n[curve]\r\n");
  const auto& e = f.m().station_table[86];
  EXPECT_EQ(f.m().error_code, GetParam().error);
  EXPECT_EQ(e.start, GetParam().start);
  EXPECT_EQ(e.end, GetParam().end);
  EXPECT_EQ(e.position, GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SignalRepetition,
    ::testing::Values(
        repetition_case{"FourCodes", "ripetizione segnali 4 codici,    1250,    12150", 1250, 12150,
                        4, 0},
        repetition_case{"NineCodes", "ripetizione segnali 9 codici,    1250,    12150", 1250, 12150,
                        9, 0},
        repetition_case{"SecondZeroMeansNoCodes", "ripetizione segnali 4 codici,    1250,    0",
                        1250, 0, 0, 0},
        repetition_case{"FirstNotAMultipleOf50", "ripetizione segnali 4 codici,    1260,    12150",
                        1260, 12150, 0, 3},
        repetition_case{"SecondNotAMultipleOf50", "ripetizione segnali 4 codici,    1250,    12160",
                        1250, 12160, 0, 4},
        repetition_case{"NeitherFourNorNine", "ripetizione segnali,    1250,    12150", 1250, 12150,
                        0, 5},
        // The header keywords that name a row are tested with their case.
        repetition_case{"ExactCaseOnly", "Ripetizione Segnali 4 codici,    1250,    12150", 0, 0, 0,
                        0}),
    [](const auto& info) { return info.param.name; });

TEST(LineHeader, StoresReferencesAndBackgroundsExactCaseOnly) {
  reader_fixture f;
  f.line(crlf_text({"anything before", "[generale]", "LUNGHEZZA PERCORSO,    91000",
                    "progressiva chilometrica uno,    12800,    -12800,    0",
                    "Progressiva chilometrica due,    5,    5,    5", "sfondo uno,    7",
                    "sfondo due,    1", "sfondo tre,    60000", "SFONDO TRE,    99", "[curve]"}));
  EXPECT_EQ(f.m().error_code, 0);
  EXPECT_EQ(f.m().cell_count, 1960);
  const auto& s = f.m().station_table;
  // Ordered: the one reference with a chainage goes to entry 81.
  EXPECT_EQ((std::array{s[81].start, s[81].end, s[81].position}), (std::array{12800, -12800, 0}));
  EXPECT_EQ((std::array{s[82].start, s[83].start}), (std::array{0, 0}));
  EXPECT_EQ((std::array{s[85].start, s[85].position, s[85].end}), (std::array{7, 1, 60000}));
}

TEST(LineHeader, DashFieldsAreCommentsUpToTenInARow) {
  reader_fixture f;
  f.line(crlf_text({"[generale]", "- a comment", "-[not a section]", "lunghezza percorso,    1000",
                    "[curve]", "pendenza,  0,  5"}));
  EXPECT_EQ(f.m().error_code, 0);
  EXPECT_EQ(f.m().cell_count, 160);
  EXPECT_EQ(f.m().track_cells[0].gradient, 105);
}

TEST(LineHeader, WithoutALineLengthTheTextCannotBeRead) {
  reader_fixture f;
  EXPECT_THROW(f.line(crlf_text({"[generale]", "sfondo uno,    0", "[curve]", "[fine]"})),
               reader::read_error);
}

TEST(LineHeader, GeneraleMissingOrLastGivesError102) {
  for (const std::string& text : {std::string("a,b\r\n[generale]"), std::string("[generale]\r\n"),
                                  std::string("x\r\ny\r\n")}) {
    reader_fixture f;
    EXPECT_EQ(f.line(text), pass_end::stopped) << text;
    EXPECT_EQ(f.m().error_code, 102) << text;
  }
}

TEST(LineSigns, FillEntriesDownwardsAndMarkTheirCells) {
  reader_fixture f;
  std::string body;
  for (int n = 0; n < 16; ++n) {
    body += "cartello_indicatore,  " + std::to_string(900 + 100 * n) + ",   (SIGN " +
            std::to_string(n + 1) + ")\r\n";
  }
  ASSERT_EQ(f.line(line_text(91000, body)), pass_end::completed);
  EXPECT_EQ(f.m().station_table[80].name, "(SIGN 1)");
  EXPECT_EQ(f.m().station_table[79].name, "(SIGN 2)");
  EXPECT_EQ(f.m().station_table[65].name, "(SIGN 16)");
  EXPECT_EQ(f.m().track_cells[19].kind, 14);  // 900 / 50 + 1
  EXPECT_EQ(f.m().track_cells[19].value, 80);
  EXPECT_EQ(f.state.next_sign_entry, 64);
  EXPECT_EQ(f.m().station_table[80].position, 0);  // nothing else of the entry is set
}

TEST(LineSigns, TextWithDashesIsKeptAndAnOccupiedCellGivesError6) {
  reader_fixture f;
  EXPECT_EQ(f.line(line_text(91000, crlf_text({"cartello_indicatore,  900,   (A -)( -B)",
                                               "cartello_indicatore,  900,   (AGAIN)"}))),
            pass_end::stopped);
  EXPECT_EQ(f.m().station_table[80].name, "(A -)( -B)");
  EXPECT_EQ(f.m().error_code, 6);
  EXPECT_EQ(f.m().error_position, 900);
  EXPECT_TRUE(f.m().station_table[79].name.empty());
}

TEST(LineSigns, MoreThanEightySignsCannotBeStored) {
  reader_fixture f;
  std::string body;
  for (int n = 0; n < 81; ++n)
    body += "cartello_indicatore,  " + std::to_string(1000 + 100 * n) + ",   (S)\r\n";
  EXPECT_THROW(f.line(line_text(91000, body)), reader::read_error);
  EXPECT_EQ(f.m().station_table[0].name, "");
}

TEST(LineBody, DashFieldsAreSkippedTwiceAtMost) {
  reader_fixture f;
  // Two dash fields before a row are skipped; after two, the third dash field
  // is taken as the keyword, and here it holds one.
  ASSERT_EQ(f.line(line_text(1000, crlf_text({"---", "-- x", "pendenza,  0,  5", "-", "-",
                                              "-pendenza,  0,  9"}))),
            pass_end::completed);
  EXPECT_EQ(f.m().track_cells[0].gradient, 109);
}

TEST(LineBody, ARowBeyondTheCellsStopsReadingWithError15AndTheTailsStillRun) {
  reader_fixture f;
  ASSERT_EQ(f.line(line_text(1000, crlf_text({"pendenza,  0,  4", "pendenza,  7950,  8",
                                              "pendenza,  100,  1"}))),
            pass_end::completed);
  EXPECT_EQ(f.m().error_code, 15);
  EXPECT_EQ(f.m().error_position, 7950);
  EXPECT_EQ(f.m().track_cells[100].gradient, 104);  // the tail, with the gradient before the row
  EXPECT_EQ(f.m().plan.at(7998, 0).tag, model::plan_tag::real);
}

TEST(LineBody, RowsAtTheLastAcceptedChainage) {
  // (p + 100) / 50 may equal cell_count (160 for 1000 m): 7900 is accepted.
  reader_fixture f;
  ASSERT_EQ(f.line(line_text(1000, "montagna,   7900,  7950,  2\r\n")), pass_end::completed);
  EXPECT_EQ(f.m().error_code, 0);
  EXPECT_EQ(f.m().track_cells[158].mountain, 2);
}

TEST(LineBody, AStoreErrorStopsThePassWithTheRowsPosition) {
  reader_fixture f;
  EXPECT_EQ(f.line(line_text(91000, crlf_text({"cartello_indicatore,  1250,   (S)",
                                               "indicatori_vmax,  1250,  110,  120,  125,  0,  "
                                               "110,  120,  125,  0"}))),
            pass_end::stopped);
  EXPECT_EQ(f.m().error_code, 21);
  EXPECT_EQ(f.m().error_position, 1250);
}

// "[generale]" is a keyword test like the others: its letter case is ignored.
TEST(LineHeader, GeneraleIsFoundInAnyLetterCase) {
  for (const std::string opening : {"[generale]", "[GENERALE]", "[Generale]", "  [gEnErAlE] x"}) {
    reader_fixture f;
    EXPECT_EQ(f.line(crlf_text({opening, "lunghezza percorso,    1000", "[curve]",
                                "pendenza,  0,  5", "[fine]"})),
              pass_end::completed)
        << opening;
    EXPECT_EQ(f.m().error_code, 0) << opening;
    ASSERT_EQ(f.m().cell_count, 160) << opening;
    EXPECT_EQ(f.m().track_cells.at(0).gradient, 105) << opening;
  }
}

TEST(LineHeader, AKeywordInsideADashFieldIsNotRead) {
  reader_fixture f;
  ASSERT_EQ(f.line(crlf_text({"[generale]", "lunghezza percorso,    1000", "-sfondo uno,    7",
                              "sfondo due,    3", "[curve]"})),
            pass_end::completed);
  EXPECT_EQ(f.m().error_code, 0);
  EXPECT_EQ(f.m().station_table[85].start, 0);
  EXPECT_EQ(f.m().station_table[85].position, 3);
}

TEST(LineBody, AKeywordInsideADashFieldIsNotRead) {
  reader_fixture f;
  ASSERT_EQ(f.line(line_text(1000, "- pendenza,  500,  7\r\n")), pass_end::completed);
  // No row was read: the whole fill is the tail's, at gradient 0.
  std::vector<int> other;
  for (int c = 0; c <= f.m().cell_count - 3; ++c) {
    if (f.m().track_cells[c].gradient != 100) other.push_back(c);
  }
  EXPECT_EQ(other, std::vector<int>{});
}

// The curvature of a curve keyword, seen in the first curved metre: after a
// straight run along +y, x moves by exactly k.
struct curvature_case {
  std::string keyword;
  double k;
};

void PrintTo(const curvature_case& c, std::ostream* os) {
  *os << c.keyword;
}

class LineCurvature : public ::testing::TestWithParam<curvature_case> {};

TEST_P(LineCurvature, ComesFromTheKeywordsDigitAndSide) {
  reader_fixture f;
  ASSERT_EQ(f.line(line_text(1000, GetParam().keyword + ",  100,  50\r\n")), pass_end::completed);
  EXPECT_EQ(f.m().error_code, 0);
  EXPECT_EQ(f.m().plan.number(100, 0), 0.0);
  EXPECT_EQ(f.m().plan.number(101, 0), GetParam().k);
  EXPECT_EQ(f.m().plan.number(101, 1), 101.0);
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, LineCurvature,
    ::testing::Values(curvature_case{"curvad1", 0.0001}, curvature_case{"curvad2", 0.0002},
                      curvature_case{"curvad3", 0.0004}, curvature_case{"curvad4", 0.001},
                      curvature_case{"curvad5", 0.002}, curvature_case{"curvad6", 0.003},
                      curvature_case{"curvas3", -0.0004}, curvature_case{"CURVAS3", -0.0004},
                      curvature_case{"curvaS6", -0.003}, curvature_case{"CURVAD5", 0.002},
                      // The first digit of the list 1 to 6 that the keyword holds decides.
                      curvature_case{"curvad62", 0.0002}, curvature_case{"curvad541", 0.0001}),
    [](const auto& info) { return info.param.keyword; });

// The plan may reach metre 1000000 and no further.
struct last_metre_case {
  std::string name;
  std::string row;
  std::int32_t error;
  int last_computed;  // the last metre that holds a point
};

void PrintTo(const last_metre_case& c, std::ostream* os) {
  *os << c.name;
}

class LinePlanEnd : public ::testing::TestWithParam<last_metre_case> {};

TEST_P(LinePlanEnd, StopsWithError103PastMetre1000000) {
  reader_fixture f;
  const auto end = f.line(line_text(1000000, GetParam().row + "\r\n"));
  EXPECT_EQ(f.m().error_code, GetParam().error);
  EXPECT_EQ(end, GetParam().error == 0 ? pass_end::completed : pass_end::stopped);
  EXPECT_EQ(f.m().plan.at(GetParam().last_computed, 0).tag, model::plan_tag::real);
  if (GetParam().error != 0) {
    // Nothing after the failing step: no tail either.
    EXPECT_EQ(f.m().plan.at(GetParam().last_computed + 1, 0).tag, model::plan_tag::empty);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LinePlanEnd,
    ::testing::Values(
        last_metre_case{"CurveEndingAtMetre999999", "curvad1, 999000, 999", 0, 1006998},
        last_metre_case{"CurveReachingMetre1000000", "curvad1, 999000, 1000", 103, 1000000},
        last_metre_case{"CurveRunningPastIt", "curvad1, 999000, 2000", 103, 1000000},
        last_metre_case{"StraightUpToACurveThere", "curvad1, 1000000, 0", 103, 1000000}),
    [](const auto& info) { return info.param.name; });

// The range check of a body row, in floating point: on a 1000 m line (last
// cell 160) a row at 7900 is accepted, (7900 + 100) / 50 = 160, and one at
// 7920 is not, 160.4; whole-number division would accept it.
struct line_range_case {
  std::string keyword;
  std::string values;  // after the row's first number
};

void PrintTo(const line_range_case& c, std::ostream* os) {
  *os << c.keyword;
}

class LineRangeCheck : public ::testing::TestWithParam<line_range_case> {};

TEST_P(LineRangeCheck, AcceptsTheLastCellAndStopsWith15Beyond) {
  const auto row = [&](int p) {
    return GetParam().keyword + ",  " + std::to_string(p) + GetParam().values;
  };
  reader_fixture accepted;
  EXPECT_EQ(accepted.line(line_text(1000, row(7900) + "\r\n")), pass_end::completed);
  EXPECT_EQ(accepted.m().error_code, 0);

  reader_fixture beyond;
  EXPECT_EQ(beyond.line(line_text(1000, crlf_text({row(7920), "pendenza,  0,  5"}))),
            pass_end::completed);
  EXPECT_EQ(beyond.m().error_code, 15);
  EXPECT_EQ(beyond.m().error_position, 7920);
  EXPECT_EQ(beyond.m().track_cells[0].gradient, 100);  // reading stopped at the row
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LineRangeCheck,
    ::testing::Values(line_range_case{"pendenza", ",  3"}, line_range_case{"curvad2", ",  50"},
                      line_range_case{"montagna", ",  7950,  2"},
                      line_range_case{"indicatori_vmax",
                                      ",  110,  120,  125,  0,  110,  120,  125,  0"},
                      line_range_case{"cartello_indicatore", ",   (S)"}),
    [](const auto& info) { return info.param.keyword; });

// A sign row is checked before its text is read: beyond the cells it ends the
// reading with error 15, even when the text ends right after its chainage.
TEST(LineSigns, ASignBeyondTheCellsAtTheEndOfTheTextGivesError15) {
  for (const std::string last : {"cartello_indicatore,  7950", "cartello_indicatore,  7950\r\n",
                                 "cartello_indicatore,  7950,"}) {
    reader_fixture f;
    EXPECT_EQ(
        f.line("[generale]\r\nlunghezza percorso,    1000\r\n[curve]\r\npendenza,  0,  5\r\n" +
               last),
        pass_end::completed)
        << last;
    EXPECT_EQ(f.m().error_code, 15) << last;
    EXPECT_EQ(f.m().error_position, 7950) << last;
    EXPECT_EQ(f.m().track_cells[157].gradient, 105) << last;  // the tail ran
    EXPECT_EQ(f.state.next_sign_entry, 80) << last;
  }
}

}  // namespace
