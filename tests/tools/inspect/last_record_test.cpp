// The last record of each compiled file is read like every other: diff finds
// a change in the last cell, the last station entry and the plan's last
// element, and dump refuses a station table that lacks only its last entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_tool.h"
#include "tools/shipped_compiled.h"

namespace {

using testing_support::run_tool;
using testing_support::shipped_bytes;
using testing_support::temp_folder;
using testing_support::tool_result;

std::string short_element(std::int16_t value) {
  std::string bytes = "\x02";
  bytes += '\0';
  bytes += "..";
  testing_support::put_i16(bytes, 2, value);
  return bytes;
}

// Runs diff on two copies named like the shipped file, in one folder.
tool_result diff_of(const std::string& name, const std::string& a, const std::string& b,
                    const std::vector<std::string>& options = {}) {
  const temp_folder folder;
  platform::replace_file(folder / ("a_" + name), a);
  platform::replace_file(folder / ("b_" + name), b);
  std::vector<std::string> args = {"diff", (folder / ("a_" + name)).string(),
                                   (folder / ("b_" + name)).string()};
  args.insert(args.end(), options.begin(), options.end());
  return run_tool(args);
}

TEST(LastRecord, DiffFindsAChangeInTheLastCellsLastField) {
  const std::string cells = shipped_bytes(testing_support::shipped_cells);
  ASSERT_EQ(cells.size() % 15, 0u);
  const std::size_t last = cells.size() / 15 - 1;  // cell 1960, at 98000 m
  std::string changed = cells;
  // The adhesion, the record's last byte.
  const int adhesion = static_cast<unsigned char>(cells.back());
  changed.back() = static_cast<char>(adhesion + 1);

  const tool_result r = diff_of("x.dat", cells, changed);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out, "cell " + std::to_string(last) + " (" + std::to_string(last * 50) +
                       " m): adhesion " + std::to_string(adhesion) + " \u2192 " +
                       std::to_string(adhesion + 1) + "\n1 difference\n");
  EXPECT_EQ(r.err, "");
}

TEST(LastRecord, DiffFindsAChangeInTheLastStationEntrysLastField) {
  const std::string stations = shipped_bytes(testing_support::shipped_stations);
  // Entry 86 holds the train number and ends the file with its time, 4 bytes.
  ASSERT_EQ(stations.substr(testing_support::station_offset(stations, 86) + 16, 5), "47306");
  ASSERT_EQ(stations.substr(stations.size() - 4), std::string(4, '\0'));
  std::string changed = stations;
  changed[changed.size() - 4] = 1;

  const tool_result r = diff_of("x.sim", stations, changed);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out, "station 86 time: 0 -> 1\n1 difference\n");
  EXPECT_EQ(r.err, "");
}

TEST(LastRecord, DiffFindsAChangeInThePlansLastElement) {
  // The plan is the x of every metre, then the y; the last two metres of each
  // half are never set (2 bytes each) and the one before them is a double
  // (10 bytes). Two plans of the same size that differ only in the y of the
  // last metre: the x of the last two metres become shorts (4 more bytes),
  // and at the end of the y half the double becomes unset and the last two
  // become shorts (4 fewer bytes).
  const std::string plan = shipped_bytes(testing_support::shipped_plan);
  const std::size_t half = plan.size() / 2;
  const std::string x_half = plan.substr(0, half - 4) + short_element(3) + short_element(4);
  const std::string y_head = plan.substr(half, half - 14) + std::string(2, '\0');
  ASSERT_EQ(plan.substr(half - 4, 4), std::string(4, '\0'));
  ASSERT_EQ(plan.substr(plan.size() - 14, 2), std::string("\x05\0", 2));
  const std::string a = x_half + y_head + short_element(5) + short_element(1);
  const std::string b = x_half + y_head + short_element(5) + short_element(2);
  ASSERT_EQ(a.size(), plan.size());
  // L + 6997 doubles and 4 shorts in each half: L + 7000 is the last metre.
  const std::size_t line_length = (half - 2 * 4 - 2 * 2) / 10 - 6997;

  const tool_result r = diff_of("x_linea.dat", a, b, {"--all"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out,
            "plan metre " + std::to_string(line_length + 7000) + " y: 1 -> 2\n1 difference\n");
  EXPECT_EQ(r.err, "");
  // Summarised, the same metre: its point moved by the 1 m of y.
  const tool_result summary = diff_of("x_linea.dat", a, b);
  EXPECT_EQ(summary.status, 1) << summary.err;
  EXPECT_EQ(summary.out, "plan metre " + std::to_string(line_length + 7000) +
                             " differs: its point moves 1.000 m (--all lists each element)\n1 "
                             "difference\n");
}

TEST(LastRecord, DumpRefusesAStationTableCutAfterItsFirst86Entries) {
  const std::string stations = shipped_bytes(testing_support::shipped_stations);
  // Entry 86: 34 bytes and its name, the train number.
  const std::size_t cut = stations.size() - (34 + std::string("47306").size());
  const temp_folder folder;
  platform::replace_file(folder / testing_support::shipped_stations, stations.substr(0, cut));
  const std::string path = (folder / testing_support::shipped_stations).string();

  const tool_result r = run_tool({"dump", path});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "scenario_tool dump: " + path + ": the station table ends at byte " +
                       std::to_string(cut) + " after 86 whole entries: it has 87\n");
}

}  // namespace
