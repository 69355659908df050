// diff: one changed field gives one line and exit status 1; identical files
// give 0; files that cannot be compared give 2.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "support/run_tool.h"
#include "tools/shipped_compiled.h"

namespace {

using testing_support::run_tool;
using testing_support::shipped_bytes;
using testing_support::temp_folder;
using testing_support::tool_result;

struct pair_of_files {
  temp_folder folder;
  std::string a;
  std::string b;
  pair_of_files(const std::string& name, const std::string& bytes_a, const std::string& bytes_b)
      : a((folder / ("a_" + name)).string()), b((folder / ("b_" + name)).string()) {
    platform::replace_file(a, bytes_a);
    platform::replace_file(b, bytes_b);
  }
};

TEST(Diff, IdenticalFilesOfEachKind) {
  for (const char* name : {testing_support::shipped_plan, testing_support::shipped_stations,
                           testing_support::shipped_cells}) {
    SCOPED_TRACE(name);
    const pair_of_files files(name, shipped_bytes(name), shipped_bytes(name));
    const tool_result r = run_tool({"diff", files.a, files.b});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "no differences\n");
  }
}

TEST(Diff, OneCellFieldChanged) {
  std::string changed = shipped_bytes(testing_support::shipped_cells);
  testing_support::put_i16(changed, 33 * 15 + 1, 44);  // the first signal's value 43
  const pair_of_files files("x.dat", shipped_bytes(testing_support::shipped_cells), changed);
  const tool_result r = run_tool({"diff", files.a, files.b});
  EXPECT_EQ(r.status, 1);
  // The signal's row stood at 1600 m: it lands one cell on. Its value is
  // S1 x 10 + D1: the right light's first aspect went from 3 to 4.
  EXPECT_EQ(r.out,
            "cell 33 (1650 m, row at 1600 m): value 43 \u2192 44 (S1 4, D1 3 \u2192 S1 4, D1 4)\n"
            "1 difference\n");
  EXPECT_EQ(r.err, "");
}

// An approach code and a speed indicator's packed speeds are told as the
// rows mean them, on both sides of the arrow.
TEST(Diff, ApproachCodesAndIndicatorSpeedsAreReadAsTheRowsMeanThem) {
  std::string changed = shipped_bytes(testing_support::shipped_cells);
  // Cell 31 holds the first signal's code 71 (100 m before it): make it 72.
  ASSERT_EQ(static_cast<unsigned char>(changed[31 * 15 + 10]), 71u);
  changed[31 * 15 + 10] = 72;
  // Cell 26's indicator, rank A: 110 km/h left and right (2222); make the right 115 (2223).
  testing_support::put_i16(changed, 26 * 15 + 1, 2223);
  const pair_of_files files("x.dat", shipped_bytes(testing_support::shipped_cells), changed);
  const tool_result r = run_tool({"diff", files.a, files.b});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "cell 26 (1300 m, row at 1250 m): value 2222 \u2192 2223 (rank A: left 110 km/h, "
            "right 110 km/h \u2192 rank A: left 110 km/h, right 115 km/h)\n"
            "cell 31 (1550 m): approach 71 \u2192 72 (a signal 100 m ahead (SX 2, DX 1) \u2192 a "
            "signal 200 m ahead (SX 2, DX 1))\n"
            "2 differences\n");
}

TEST(Diff, CellsChangedTheSameWayAreOneLineInTheAuthorsUnits) {
  // A line speed of 100 km/h in place of 140 over cells 400 to 431, and a
  // gradient of -6 in place of 3 in cell 500 (20000 to 21599 m, and 25000 m).
  std::string changed = shipped_bytes(testing_support::shipped_cells);
  for (std::size_t cell = 400; cell <= 431; ++cell) {
    ASSERT_EQ(static_cast<unsigned char>(changed[cell * 15 + 12]), 28u);
    changed[cell * 15 + 12] = 20;
  }
  ASSERT_EQ(static_cast<unsigned char>(changed[500 * 15 + 13]), 103u);
  changed[500 * 15 + 13] = 94;
  const pair_of_files files("x.dat", shipped_bytes(testing_support::shipped_cells), changed);

  const tool_result grouped = run_tool({"diff", files.a, files.b});
  EXPECT_EQ(grouped.status, 1);
  EXPECT_EQ(grouped.out,
            "cells 400 to 431 (20000 to 21599 m): speed_limit 140 \u2192 100 km/h (stored 28 "
            "\u2192 20)\n"
            "cell 500 (25000 m): gradient 3 \u2192 -6 \u2030 (stored 103 \u2192 94)\n"
            "2 differences\n");

  // --all: a line for every cell.
  const tool_result all = run_tool({"diff", files.a, files.b, "--all"});
  EXPECT_EQ(all.status, 1);
  EXPECT_EQ(all.out.rfind("cell 400 (20000 m): speed_limit 140 \u2192 100 km/h", 0), 0u) << all.out;
  EXPECT_NE(all.out.find("\ncell 431 (21550 m): speed_limit"), std::string::npos);
  EXPECT_NE(all.out.find("\n33 differences\n"), std::string::npos) << all.out;
}

TEST(Diff, OneStationNameAndOnePlanValueChanged) {
  std::string stations = shipped_bytes(testing_support::shipped_stations);
  const std::size_t tarvo = testing_support::station_offset(stations, 18) + 16;
  ASSERT_EQ(stations.substr(tarvo, 5), "TARVO");
  stations[tarvo + 4] = 'A';
  const pair_of_files tables("x.sim", shipped_bytes(testing_support::shipped_stations), stations);
  const tool_result r = run_tool({"diff", tables.a, tables.b});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "station 18 name: \"TARVO\" -> \"TARVA\"\n1 difference\n");

  // Metre 1400's x: two shorts of 4 bytes, then doubles of 10 bytes from metre 2.
  const std::size_t at = 8 + (1400 - 2) * 10;
  std::string same_size = shipped_bytes(testing_support::shipped_plan);
  same_size[at + 2 + 7] ^= 0x40;  // the double's sign and exponent byte
  const pair_of_files plans("x_linea.dat", shipped_bytes(testing_support::shipped_plan), same_size);
  const tool_result p = run_tool({"diff", plans.a, plans.b, "--all"});
  EXPECT_EQ(p.status, 1);
  EXPECT_EQ(p.out.rfind("plan metre 1400 x: 6.2737", 0), 0u) << p.out;
  EXPECT_NE(p.out.find(" -> "), std::string::npos);
  EXPECT_NE(p.out.find("\n1 difference\n"), std::string::npos);
}

TEST(Diff, CellsChangedAlikeUpToTheLastSharedCellAreOneLine) {
  // The run reaches the last cell both files hold: it must not end a cell early.
  std::string changed = shipped_bytes(testing_support::shipped_cells);
  const std::size_t cells = changed.size() / 15;
  for (const std::size_t cell : {cells - 2, cells - 1}) {
    changed[cell * 15 + 12] = static_cast<char>(changed[cell * 15 + 12] + 2);
  }
  ASSERT_EQ(changed[(cells - 2) * 15 + 12], changed[(cells - 1) * 15 + 12]);
  const pair_of_files files("x.dat", shipped_bytes(testing_support::shipped_cells), changed);
  const tool_result r = run_tool({"diff", files.a, files.b});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(
      r.out.rfind("cells " + std::to_string(cells - 2) + " to " + std::to_string(cells - 1) + " (",
                  0),
      0u)
      << r.out;
  EXPECT_NE(r.out.find("\n1 difference\n"), std::string::npos) << r.out;
}

// The plan's x at a metre, as the file holds it: a 2-byte tag, then the double.
double plan_x(const std::string& plan, std::int32_t metre) {
  double x = 0;
  std::memcpy(&x, plan.data() + 8 + (metre - 2) * 10 + 2, sizeof x);
  return x;
}

void put_plan_x(std::string& plan, std::int32_t metre, double x) {
  std::memcpy(plan.data() + 8 + (metre - 2) * 10 + 2, &x, sizeof x);
}

TEST(Diff, PlansThatDifferAreSummarisedUnlessAll) {
  const std::string shipped = shipped_bytes(testing_support::shipped_plan);
  ASSERT_GT(std::abs(plan_x(shipped, 1400)), 1.0);  // a real x, not an empty element
  std::string moved = shipped;
  for (std::int32_t m = 1400; m <= 1410; ++m) put_plan_x(moved, m, plan_x(shipped, m) + 1.0);
  put_plan_x(moved, 1405, plan_x(shipped, 1405) + 3.25);
  const pair_of_files plans("x_linea.dat", shipped, moved);

  const tool_result summary = run_tool({"diff", plans.a, plans.b});
  EXPECT_EQ(summary.status, 1);
  EXPECT_EQ(summary.out,
            "plan metres 1400 to 1410 differ (11 metres): the largest shift is 3.250 m, at metre "
            "1405 (--all lists each element)\n1 difference\n");

  const tool_result all = run_tool({"diff", plans.a, plans.b, "--all"});
  EXPECT_EQ(all.status, 1);
  EXPECT_NE(all.out.find("\nplan metre 1410 x: "), std::string::npos) << all.out;
  EXPECT_NE(all.out.find("\n11 differences\n"), std::string::npos) << all.out;

  std::string one = shipped;
  put_plan_x(one, 2000, plan_x(shipped, 2000) - 0.5);
  const pair_of_files single("x_linea.dat", shipped, one);
  EXPECT_EQ(run_tool({"diff", single.a, single.b}).out,
            "plan metre 2000 differs: its point moves 0.500 m (--all lists each element)\n"
            "1 difference\n");
}

TEST(Diff, AStationsTimeIsShownAsAClockToo) {
  std::string stations = shipped_bytes(testing_support::shipped_stations);
  // TARVO (entry 18) at 12:36:00; its time is the record's last 4 bytes.
  const std::size_t time_at = testing_support::station_offset(stations, 19) - 4;
  ASSERT_EQ(static_cast<unsigned char>(stations[time_at]) +
                256 * static_cast<unsigned char>(stations[time_at + 1]),
            45360);
  const int later = 45360 + 61;
  stations[time_at] = static_cast<char>(later & 0xFF);
  stations[time_at + 1] = static_cast<char>(later >> 8);
  const pair_of_files tables("x.sim", shipped_bytes(testing_support::shipped_stations), stations);
  const tool_result r = run_tool({"diff", tables.a, tables.b});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "station 18 time: 45360 (12:36:00) -> 45421 (12:37:01)\n1 difference\n");
}

// Writes `value` little-endian over `width` bytes at `at`.
void put_le(std::string& bytes, std::size_t at, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.at(at + i) = static_cast<char>((value >> (8 * i)) & 0xFF);
}

TEST(Diff, AStationsNumbersAreNamedAsAuthorsWriteThem) {
  // Offsets of a number within an entry; those after the name add its length.
  struct field_case {
    int entry;
    std::size_t offset;
    bool after_name;
    int width;
    const char* shown;
  };
  const field_case cases[] = {
      {18, 13, false, 1, "flag F4 (flag_a)"},
      {18, 29, true, 1, "flag F5 (flag_b)"},
      {18, 28, true, 1, "end shift (end_shift)"},
      {18, 27, true, 1, "stop code (stop)"},
      {18, 16, true, 2, "group G7 (group1_a)"},
      {18, 26, true, 1, "group G9 (group1_c)"},
      {18, 0, false, 1, "station type (kind)"},
      {18, 9, false, 4, "chainage (position)"},
      // No station value keeps the platform's start: the entry's own name.
      {18, 1, false, 4, "start"},
      // A kilometric reference is no station: its fields keep their own names.
      {81, 9, false, 4, "position"},
      // An entry that is a station in B alone is named as a station.
      {60, 13, false, 1, "flag F4 (flag_a)"},
  };
  const std::string shipped = shipped_bytes(testing_support::shipped_stations);
  for (const field_case& c : cases) {
    SCOPED_TRACE(c.shown);
    std::string a = shipped;
    std::string b = shipped;
    const std::size_t entry = testing_support::station_offset(shipped, c.entry);
    const std::size_t name_length = static_cast<unsigned char>(shipped.at(entry + 14));
    const std::size_t at = entry + c.offset + (c.after_name ? name_length : 0);
    put_le(a, at, c.entry == 60 ? 0 : 3, c.width);
    put_le(b, at, 9, c.width);
    const pair_of_files tables("x.sim", a, b);
    const tool_result r = run_tool({"diff", tables.a, tables.b});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "station " + std::to_string(c.entry) + " " + c.shown + ": " +
                         (c.entry == 60 ? "0" : "3") + " -> 9\n1 difference\n");
  }
}

TEST(Diff, CellsOnlyInOneFile) {
  const std::string full = shipped_bytes(testing_support::shipped_cells);
  const pair_of_files files("x.dat", full, full.substr(0, 1959 * 15));
  const tool_result r = run_tool({"diff", files.a, files.b});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "cell 1959 (97950 m): only in A\ncell 1960 (98000 m): only in A\n2 differences\n");
}

TEST(Diff, FilesThatCannotBeCompared) {
  const std::string cells = shipped_bytes(testing_support::shipped_cells);
  const pair_of_files kinds("x.dat", cells, cells);
  const temp_folder folder;
  platform::replace_file(folder / "t.sim", shipped_bytes(testing_support::shipped_stations));
  const tool_result different = run_tool({"diff", kinds.a, (folder / "t.sim").string()});
  EXPECT_EQ(different.status, 2);
  EXPECT_NE(different.err.find("cannot be compared"), std::string::npos) << different.err;

  const pair_of_files cut("x.dat", cells, cells.substr(0, 100));
  const tool_result truncated = run_tool({"diff", cut.a, cut.b});
  EXPECT_EQ(truncated.status, 2);
  EXPECT_EQ(truncated.out, "");
  EXPECT_EQ(truncated.err, "scenario_tool diff: " + cut.b +
                               ": truncated at byte 100, inside cell 6, at field approach\n");
}

}  // namespace
