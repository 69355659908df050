#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <stdexcept>

#include "reader/record_stores.h"

namespace {

struct ref {
  std::int32_t chainage = 0, offset = 0, flag = 0;
  friend bool operator==(const ref&, const ref&) = default;
  friend std::ostream& operator<<(std::ostream& os, const ref& r) {
    return os << "(" << r.chainage << ", " << r.offset << ", " << r.flag << ")";
  }
};

struct ordering_case {
  const char* name;
  ref tre, due, uno;  // as read: entries 81, 82, 83
  ref e81, e82, e83;  // after ordering
};

void PrintTo(const ordering_case& c, std::ostream* os) {
  *os << c.name;
}

class ProgressiveOrdina : public ::testing::TestWithParam<ordering_case> {
 protected:
  void put(int index, const ref& r) {
    auto& e = model.station_table.at(static_cast<std::size_t>(index));
    e.start = r.chainage;
    e.end = r.offset;
    e.position = r.flag;
  }
  ref get(int index) const {
    const auto& e = model.station_table.at(static_cast<std::size_t>(index));
    return {e.start, e.end, e.position};
  }

  model::scenario_model model;
};

TEST_P(ProgressiveOrdina, PutsTheFurthestReferenceFirst) {
  const ordering_case& c = GetParam();
  put(81, c.tre);
  put(82, c.due);
  put(83, c.uno);
  reader::progressive_ordina(model);
  EXPECT_EQ(get(81), c.e81);
  EXPECT_EQ(get(82), c.e82);
  EXPECT_EQ(get(83), c.e83);
  EXPECT_EQ(model.error_code, 0);
}

const ref zero{};

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgressiveOrdina,
    ::testing::Values(
        // The shipped line: only "uno"; D before T among the zeros.
        ordering_case{"Shipped", zero, zero, {12800, -12800, 0}, {12800, -12800, 0}, zero, zero},
        ordering_case{"AllZero", zero, zero, zero, zero, zero, zero},
        // Chainages sum to 0: by positive offset, and the flag adds 100.
        ordering_case{"OnlyTreOffset", {0, 500, 1}, zero, zero, {0, 600, 1}, zero, zero},
        ordering_case{"DescendingDTU",
                      {5000, 10, 0},
                      {12800, 20, 0},
                      {0, 30, 0},
                      {12800, 20, 0},
                      {5000, 10, 0},
                      {0, 30, 0}},
        ordering_case{"DescendingTUD",
                      {9000, 1, 0},
                      {3000, 2, 0},
                      {6000, 3, 0},
                      {9000, 1, 0},
                      {6000, 3, 0},
                      {3000, 2, 0}},
        ordering_case{"DescendingTDU",
                      {9000, 1, 0},
                      {6000, 2, 0},
                      {3000, 3, 0},
                      {9000, 1, 0},
                      {6000, 2, 0},
                      {3000, 3, 0}},
        ordering_case{"DescendingUTD",
                      {6000, 1, 0},
                      {3000, 2, 0},
                      {9000, 3, 0},
                      {9000, 3, 0},
                      {6000, 1, 0},
                      {3000, 2, 0}},
        ordering_case{"DescendingDUT",
                      {3000, 1, 0},
                      {9000, 2, 0},
                      {6000, 3, 0},
                      {9000, 2, 0},
                      {6000, 3, 0},
                      {3000, 1, 0}},
        // Ties between second and third: U before D and T, D before T.
        ordering_case{"TieUnderTre",
                      {9000, 1, 0},
                      {3000, 2, 0},
                      {3000, 3, 0},
                      {9000, 1, 0},
                      {3000, 3, 0},
                      {3000, 2, 0}},
        ordering_case{"TieUnderDue",
                      {3000, 1, 0},
                      {9000, 2, 0},
                      {3000, 3, 0},
                      {9000, 2, 0},
                      {3000, 3, 0},
                      {3000, 1, 0}},
        ordering_case{"TieUnderUno",
                      {3000, 1, 0},
                      {3000, 2, 0},
                      {9000, 3, 0},
                      {9000, 3, 0},
                      {3000, 2, 0},
                      {3000, 1, 0}},
        // No single largest chainage: all three cleared, flags included.
        ordering_case{"TieForLargest", {5000, 1, 1}, {5000, 2, 1}, {0, 3, 1}, zero, zero, zero},
        ordering_case{"AllEqual", {5000, 1, 0}, {5000, 2, 0}, {5000, 3, 0}, zero, zero, zero},
        // A sum of 0 with negative chainages orders by offset, chainages carried.
        ordering_case{
            "NegativeSumZero", {-100, 50, 0}, {100, 0, 0}, zero, {-100, 50, 0}, {100, 0, 0}, zero},
        // Later offset rules replace earlier ones.
        ordering_case{"DueOffsetOverTre",
                      {0, 10, 0},
                      {0, 20, 0},
                      {0, -5, 0},
                      {0, 20, 0},
                      {0, 10, 0},
                      {0, -5, 0}},
        ordering_case{"UnoOffsetOverAll",
                      {0, 10, 0},
                      {0, 20, 0},
                      {0, 30, 0},
                      {0, 30, 0},
                      {0, 20, 0},
                      {0, 10, 0}},
        ordering_case{"NoPositiveOffset", {0, -10, 1}, {0, 0, 1}, {0, -30, 1}, zero, zero, zero},
        // Only a flag of exactly 1 adds 100, after the ordering, to each entry.
        ordering_case{"FlagsAfterOrdering",
                      {5000, 10, 1},
                      {12800, -12800, 1},
                      {0, 30, 2},
                      {12800, -12700, 1},
                      {5000, 110, 1},
                      {0, 30, 2}}),
    [](const ::testing::TestParamInfo<ordering_case>& info) { return info.param.name; });

TEST_F(ProgressiveOrdina, LeavesTheOtherFieldsOfTheEntriesAlone) {
  model.station_table[81].name = "tre";
  model.station_table[83].kind = 7;
  put(83, {12800, -12800, 0});
  reader::progressive_ordina(model);
  EXPECT_EQ(model.station_table[81].name, "tre");
  EXPECT_EQ(model.station_table[83].kind, 7);
  EXPECT_EQ(get(81), (ref{12800, -12800, 0}));
}

TEST_F(ProgressiveOrdina, AnOffsetPushedPastTheLongRangeFailsWithoutWriting) {
  const std::int32_t big = std::numeric_limits<std::int32_t>::max() - 50;
  put(81, {0, 10, 0});
  put(83, {12800, big, 1});
  EXPECT_THROW(reader::progressive_ordina(model), std::overflow_error);
  EXPECT_EQ(get(81), (ref{0, 10, 0}));
  EXPECT_EQ(get(82), zero);
  EXPECT_EQ(get(83), (ref{12800, big, 1}));
}

}  // namespace
