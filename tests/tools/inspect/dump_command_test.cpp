// dump: the shipped compiled files read back at records whose values follow
// from the texts' rows, and corrupted files with their exact messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_tool.h"
#include "tools/shipped_compiled.h"

namespace {

using testing_support::run_tool;
using testing_support::shipped_bytes;
using testing_support::shipped_compiled;
using testing_support::temp_folder;
using testing_support::tool_result;

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string shipped(const char* name) {
  return (shipped_compiled().path() / name).string();
}

TEST(DumpCells, SignalIndicatorAndHeaderCellsOfTheShippedScenario) {
  // Cell 1, the header; cell 26, "indicatori_vmax, 1250, 110, 120, 125, 0, 110, 120, 125, 0":
  // 110 x 20 + 110 / 5 and so on; cell 33, "segnale, 1600, 2, 4, 1, 0, 0, 1, 3,1,0, 205":
  // 4 x 10 + 3, 1 x 10 + 1, 0, 0 x 10 + 2 x 3 + 1, in a stretch of gradient -6 (from 1250 m)
  // and line speed 120 km/h (from 1100 m).
  const tool_result r = run_tool({"dump", shipped(testing_support::shipped_cells)});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = lines_of(r.out);
  ASSERT_EQ(lines.size(), 4u + 1961u);
  EXPECT_EQ(lines[0], "Brisena_Tarvo_47306.dat: track cells, 1961 cells, 29415 bytes");
  EXPECT_EQ(lines[1], "check format tag (cell 1 value): 5121, ok");
  EXPECT_EQ(lines[2],
            "check plain check code (cell 1 value2): 2339, ok (train \"47306\" and route "
            "\"Brisena_Tarvo\", from the names in Brisena_Tarvo_47306.sim)");
  EXPECT_EQ(lines[3],
            "check cell count: 1961, ok (a line of 91000 m, from the size of "
            "Brisena_Tarvo_linea.dat)");
  EXPECT_EQ(lines[4 + 26],
            "cell 26 (1300 m, row at 1250 m) speed indicator: value 2222, value2 2424, value3 "
            "2525, value4 0, signal_time 0, approach 0, mountain 0, speed_limit 120 km/h, "
            "gradient -6 \u2030, adhesion 100 \u2014 rank A: left 110 km/h, right 110 km/h; "
            "rank B: left 120 km/h, right 120 km/h; rank C: left 125 km/h, right 125 km/h; "
            "stripes: left 0, right 0");
  EXPECT_EQ(lines[4 + 33],
            "cell 33 (1650 m, row at 1600 m) signal: value 43, value2 11, value3 0, value4 7, "
            "signal_time 205, approach 0, mountain 0, speed_limit 120 km/h, gradient -6 \u2030, "
            "adhesion 100 \u2014 S1 4, D1 3; S2 1, D2 1; S3 0, D3 0; RAPP 0, SX 2, DX 1");
  // The approach codes of that signal, 100 and 400 m before it: (2 x 3 + 1) x 10 + 1 and + 4.
  EXPECT_NE(lines[4 + 31].find(" approach 71,"), std::string::npos) << lines[4 + 31];
  EXPECT_NE(lines[4 + 25].find(" approach 74,"), std::string::npos) << lines[4 + 25];
  // Decoded as the distance to the signal and its two kinds.
  EXPECT_TRUE(lines[4 + 31].ends_with("a signal 100 m ahead (SX 2, DX 1)")) << lines[4 + 31];
  EXPECT_TRUE(lines[4 + 25].ends_with("a signal 400 m ahead (SX 2, DX 1)")) << lines[4 + 25];
  // The first station stops in cell 13; its codes 81 to 84 lie in cells 12 to 9. A code of
  // 81 to 84 is also a signal's whose both kinds are 2, so both readings are given.
  EXPECT_TRUE(lines[4 + 12].ends_with(
      "a station's stop point 50 m ahead, or a signal 100 m ahead (SX 2, DX 2)"))
      << lines[4 + 12];
  EXPECT_TRUE(
      lines[4 + 9].ends_with("a station's stop point 200 m ahead, or a signal 400 m ahead "
                             "(SX 2, DX 2)"))
      << lines[4 + 9];
}

TEST(DumpCells, FromAndToSelectCellsByIndex) {
  const tool_result r =
      run_tool({"dump", shipped(testing_support::shipped_cells), "--from", "1", "--to", "2"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = lines_of(r.out);
  ASSERT_EQ(lines.size(), 4u + 2u);
  EXPECT_EQ(lines[4].rfind("cell 1 (50 m) empty: value 5121, value2 2339,", 0), 0u) << lines[4];
  EXPECT_EQ(lines[5].rfind("cell 2 (100 m) ", 0), 0u) << lines[5];
}

TEST(DumpCommandLine, ARangeThatSelectsNothingIsSaidWithTheIndicesTheFileHolds) {
  // The shipped line is 91000 m: cells 0 to 1960, metres 0 to 98000 with the run-out.
  const struct {
    const char* file;
    std::vector<std::string> range;
    std::string said;
  } cases[] = {
      {testing_support::shipped_cells,
       {"--from", "2500"},
       "no cell from 2500: the file holds cells 0 to 1960"},
      {testing_support::shipped_cells,
       {"--to", "-1"},
       "no cell to -1: the file holds cells 0 to 1960"},
      {testing_support::shipped_stations,
       {"--from", "90", "--to", "95"},
       "no station entry from 90 to 95: the file holds entries 0 to 86"},
      {testing_support::shipped_plan,
       {"--from", "98001"},
       "no plan metre from 98001: the file holds metres 0 to 98000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    std::vector<std::string> args = {"dump", shipped(c.file)};
    args.insert(args.end(), c.range.begin(), c.range.end());
    const tool_result r = run_tool(args);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = lines_of(r.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), c.said);
  }
  // The last record itself is selected, and nothing is said.
  const tool_result last =
      run_tool({"dump", shipped(testing_support::shipped_cells), "--from", "1960"});
  EXPECT_EQ(lines_of(last.out).back().rfind("cell 1960 ", 0), 0u) << last.out;
}

TEST(DumpStations, StationsSignsReferencesAndHeadersWithTheirRoles) {
  const tool_result r = run_tool({"dump", shipped(testing_support::shipped_stations)});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = lines_of(r.out);
  ASSERT_EQ(lines.size(), 4u + 87u);
  EXPECT_EQ(lines[1], "check format tag (station 85 group1_a): 610, ok");
  EXPECT_EQ(lines[2],
            "check weighted check code (station 85 time): 32714, ok (train \"47306\" and route "
            "\"Brisena_Tarvo\", from the names in the file)");
  EXPECT_EQ(lines[4 + 0], "station 0 unused");
  // "stazione, 0, 7, 700, 1, 0, 0, 3,1,0, 2,1,1, 1, 11,30, 0, BRISENA": a type-7 platform of
  // 700 m either side; the first station's end_shift and flag_b are cleared.
  EXPECT_EQ(lines[4 + 1],
            "station 1 station \"BRISENA\": station type (kind) 7, start -700, end 700, "
            "chainage (position) 0, flag F4 (flag_a) 1, group G7 (group1_a) 3, group G8 "
            "(group1_b) 1, group G10 (group2_a) 2, group G11 (group2_b) 1, group G12 (group2_c) "
            "1, group G9 (group1_c) 0, stop code (stop) 1, end shift (end_shift) 0, flag F5 "
            "(flag_b) 0, time 41400 (11:30:00)");
  EXPECT_EQ(lines[4 + 18].rfind("station 18 station \"TARVO\": station type (kind) 12, start "
                                "88150, end 88650, chainage (position) 88400,",
                                0),
            0u)
      << lines[4 + 18];
  EXPECT_EQ(lines[4 + 19], "station 19 empty");
  // The first sign row, "cartello_indicatore, 900, ( CAVALCAVIA)( VIA DELLE )(  FORNACI  )".
  EXPECT_EQ(lines[4 + 80], "station 80 sign text \"( CAVALCAVIA)( VIA DELLE )(  FORNACI  )\"");
  EXPECT_EQ(lines[4 + 84].rfind("station 84 train data \"\" (start: braked mass in %, end: line "
                                "length in m, position: coaches): kind 0, start 115, end 91000, "
                                "position 5,",
                                0),
            0u)
      << lines[4 + 84];
  EXPECT_NE(lines[4 + 85].find("\"Brisena_Tarvo\""), std::string::npos);
  EXPECT_NE(lines[4 + 85].find("group1_a 610,"), std::string::npos);
  EXPECT_NE(lines[4 + 86].find("\"47306\""), std::string::npos);
}

TEST(DumpPlan, MetresOfTheFirstCurveMatchTheStepsOfItsRow) {
  // "curvad2, 1150, 250": straight to metre 1150, then k = 0.0002 to metre 1400.
  double x1 = 0, y1 = 1, x0 = 0, y0 = 0;
  for (int c = 2; c <= 1400; ++c) {
    const double k = c <= 1150 ? 0.0 : 0.0002;
    const double dx = x1 - x0, dy = y1 - y0;
    const double x = (dy * k + dx) + x1;
    const double y = (dy - dx * k) + y1;
    x0 = x1, y0 = y1, x1 = x, y1 = y;
  }
  const tool_result r =
      run_tool({"dump", shipped(testing_support::shipped_plan), "--from", "1400", "--to", "1400"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = lines_of(r.out);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0],
            "Brisena_Tarvo_linea.dat: track plan, metres 0 to 98000, a line of 91000 m, "
            "1959964 bytes");
  double x = 0, y = 0;
  char x_tag[16] = {}, y_tag[16] = {};
  ASSERT_EQ(std::sscanf(lines[3].c_str(), "metre 1400: x %lf (%15[a-z]), y %lf (%15[a-z])", &x,
                        x_tag, &y, y_tag),
            4)
      << lines[3];
  EXPECT_EQ(x, x1);  // the printed number reads back as the very double
  EXPECT_EQ(y, y1);
  EXPECT_NEAR(x, 6.2737, 1e-4);
  EXPECT_STREQ(x_tag, "double");

  const tool_result ends = run_tool({"dump", shipped(testing_support::shipped_plan), "--to", "1"});
  EXPECT_EQ(lines_of(ends.out).at(3), "metre 0: x 0 (short), y 0 (short)");
  EXPECT_EQ(lines_of(ends.out).at(4), "metre 1: x 0 (short), y 1 (short)");
  const tool_result tail =
      run_tool({"dump", shipped(testing_support::shipped_plan), "--from", "97999"});
  EXPECT_EQ(lines_of(tail.out).at(3).rfind("metre 97999: x ", 0), 0u);
  EXPECT_EQ(lines_of(tail.out).at(4), "metre 98000: x empty, y empty");
}

TEST(DumpJson, SameRecordsAsJson) {
  const tool_result cells = run_tool(
      {"dump", shipped(testing_support::shipped_cells), "--json", "--from", "33", "--to", "33"});
  ASSERT_EQ(cells.status, 0) << cells.err;
  const auto doc = nlohmann::json::parse(cells.out);
  EXPECT_EQ(doc["kind"], "track cells");
  ASSERT_EQ(doc["cells"].size(), 1u);
  const auto& cell = doc["cells"][0];
  EXPECT_EQ(cell["index"], 33);
  EXPECT_EQ(cell["chainage"], 1650);
  EXPECT_EQ(cell["kind_name"], "signal");
  EXPECT_EQ(cell["value"], 43);
  EXPECT_EQ(cell["signal_time"], 205);
  // The stored numbers, and beside them the author's.
  EXPECT_EQ(cell["speed_limit"], 24);
  EXPECT_EQ(cell["speed_limit_kmh"], 120);
  EXPECT_EQ(cell["gradient"], 94);
  EXPECT_EQ(cell["gradient_permille"], -6);
  EXPECT_EQ(cell["row_chainage"], 1600);
  EXPECT_EQ(doc["version"], 1);
  EXPECT_EQ(doc["checks"][0]["ok"], true);

  const tool_result stations =
      run_tool({"dump", shipped(testing_support::shipped_stations), "--json"});
  const auto table = nlohmann::json::parse(stations.out);
  ASSERT_EQ(table["stations"].size(), 87u);
  EXPECT_EQ(table["stations"][18]["name"], "TARVO");
  EXPECT_EQ(table["stations"][18]["role"], "station");
  EXPECT_EQ(table["stations"][86]["group1_a"], 300);

  const tool_result plan = run_tool(
      {"dump", shipped(testing_support::shipped_plan), "--json", "--from", "0", "--to", "2"});
  const auto metres = nlohmann::json::parse(plan.out)["metres"];
  ASSERT_EQ(metres.size(), 3u);
  EXPECT_EQ(metres[1]["y"]["tag"], 2);
  EXPECT_EQ(metres[1]["y"]["value"], 1);
  EXPECT_EQ(metres[2]["y"]["tag"], 5);
}

// The JSON is written record by record as it is made; what comes out must be
// the document a JSON library writes for the same content, for each kind of
// file, a part of one, and an empty selection.
TEST(DumpJson, WrittenPieceByPieceAsTheWholeDocumentWouldBe) {
  const std::vector<std::vector<std::string>> cases = {
      {shipped(testing_support::shipped_cells), "--from", "30", "--to", "34"},
      {shipped(testing_support::shipped_stations)},
      {shipped(testing_support::shipped_plan), "--from", "0", "--to", "40"},
      {shipped(testing_support::shipped_stations), "--from", "5", "--to", "3"},
      {shipped(testing_support::shipped_plan), "--from", "100000000"},
  };
  for (std::vector<std::string> args : cases) {
    SCOPED_TRACE(args[0] + (args.size() > 1 ? " " + args[1] + " " + args[2] : ""));
    args.insert(args.begin(), "dump");
    args.push_back("--json");
    const tool_result r = run_tool(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto doc = nlohmann::ordered_json::parse(r.out);
    EXPECT_EQ(r.out, doc.dump(2) + "\n");
  }
}

// A corrupted copy of a shipped file, the dump's exit status and its one message.
struct corruption {
  const char* label;
  const char* file;  // shipped file it starts from
  const char* copy;  // name of the copy
  std::function<void(std::string&)> alter;
  int status;
  const char* message;  // on the error stream, or the check line on standard output
};

void PrintTo(const corruption& c, std::ostream* os) {
  *os << c.label;
}

class DumpCorrupted : public ::testing::TestWithParam<corruption> {};

TEST_P(DumpCorrupted, GivesItsExactMessage) {
  const corruption& c = GetParam();
  const temp_folder folder;
  std::string bytes = shipped_bytes(c.file);
  c.alter(bytes);
  platform::replace_file(folder / c.copy, bytes);
  // The scenario's other files beside the copy, when the copy bears their names.
  for (const char* other : {testing_support::shipped_plan, testing_support::shipped_stations,
                            testing_support::shipped_cells}) {
    if (std::string(other) != c.copy) {
      platform::replace_file(folder / other, shipped_bytes(other));
    }
  }
  const tool_result r = run_tool({"dump", (folder / c.copy).string()});
  EXPECT_EQ(r.status, c.status);
  if (r.out.empty()) {
    EXPECT_EQ(r.err, "scenario_tool dump: " + (folder / c.copy).string() + ": " + c.message + "\n");
  } else {
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find(std::string(c.message) + "\n"), std::string::npos) << r.out;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DumpCorrupted,
    ::testing::Values(
        corruption{"CellCutInsideARecord", testing_support::shipped_cells, "cut_cells.dat",
                   [](std::string& b) { b.resize(1960 * 15 + 8); }, 1,
                   "truncated at byte 29407, inside cell 1960, at field value4"},
        corruption{"StationCutInsideAName", testing_support::shipped_stations, "cut_table.sim",
                   // Entry 0 is 34 bytes, entry 1 ("BRISENA") 41; entry 2's name starts at 91.
                   [](std::string& b) { b.resize(100); }, 1,
                   "truncated at byte 91, inside station 2, at field name"},
        corruption{"StationCutAtAnEntryBoundary", testing_support::shipped_stations,
                   "short_table.sim", [](std::string& b) { b.resize(75); }, 1,
                   "the station table ends at byte 75 after 2 whole entries: it has 87"},
        corruption{"StationTableWithBytesAfterIt", testing_support::shipped_stations,
                   "long_table.sim", [](std::string& b) { b += "xyz"; }, 1,
                   "3 bytes follow entry 86, from byte 4917: the station table has 87 entries"},
        corruption{"PlanCutInsideADouble", testing_support::shipped_plan, "cut_linea.dat",
                   // Two shorts of 4 bytes, then doubles of 10: element 101's value at 1000.
                   [](std::string& b) { b.resize(1000); }, 1,
                   "truncated at byte 1000, inside plan element 101, at field value"},
        corruption{"PlanWhoseSizeFitsNoLineLength", testing_support::shipped_plan, "odd_linea.dat",
                   [](std::string& b) { b.resize(b.size() - 2); }, 1,
                   "the plan file of 1959962 bytes fits no line length: a line of L metres (0 to "
                   "1000000) gives 20 x L + 139964 bytes"},
        corruption{"PlanWithAnUnknownTag", testing_support::shipped_plan, "tag_linea.dat",
                   [](std::string& b) { testing_support::put_i16(b, 8, 7); }, 1,
                   "unknown type tag 7 at byte 8, in plan element 2 (known: 0 empty, 2 short, 5 "
                   "double)"},
        corruption{"WrongStationFormatTag", testing_support::shipped_stations,
                   testing_support::shipped_stations,
                   [](std::string& b) {
                     const std::size_t at = testing_support::station_offset(b, 85);
                     testing_support::put_i16(b, at + 16 + 13, 611);  // "Brisena_Tarvo"
                   },
                   1, "check format tag (station 85 group1_a): 611, expected 610: MISMATCH"},
        corruption{"WrongCellFormatTag", testing_support::shipped_cells,
                   testing_support::shipped_cells,
                   [](std::string& b) { testing_support::put_i16(b, 15 + 1, 5120); }, 1,
                   "check format tag (cell 1 value): 5120, expected 5121: MISMATCH"},
        corruption{"WrongPlainCheckCode", testing_support::shipped_cells,
                   testing_support::shipped_cells,
                   [](std::string& b) { testing_support::put_i16(b, 15 + 3, 2340); }, 1,
                   "check plain check code (cell 1 value2): 2340, expected 2339 (train "
                   "\"47306\" and route \"Brisena_Tarvo\", from the names in "
                   "Brisena_Tarvo_47306.sim): MISMATCH"},
        corruption{"WrongWeightedCheckCode", testing_support::shipped_stations,
                   testing_support::shipped_stations,
                   [](std::string& b) {
                     const std::size_t at = testing_support::station_offset(b, 85);
                     b.at(at + 16 + 13 + 14) ^= 1;  // time: 32714 becomes 32715
                   },
                   1,
                   "check weighted check code (station 85 time): 32715, expected 32714 (train "
                   "\"47306\" and route \"Brisena_Tarvo\", from the names in the file): "
                   "MISMATCH"},
        corruption{"CellsCutAtARecordBoundary", testing_support::shipped_cells,
                   testing_support::shipped_cells, [](std::string& b) { b.resize(1000 * 15); }, 1,
                   "check cell count: 1000, expected 1961 (a line of 91000 m, from the size of "
                   "Brisena_Tarvo_linea.dat): MISMATCH"}),
    [](const ::testing::TestParamInfo<corruption>& info) { return std::string(info.param.label); });

TEST(DumpCommandLine, KindFromTheNameOrFromKind) {
  const temp_folder folder;
  platform::replace_file(folder / "cells.bin", shipped_bytes(testing_support::shipped_cells));
  const tool_result unnamed = run_tool({"dump", (folder / "cells.bin").string()});
  EXPECT_EQ(unnamed.status, 2);
  EXPECT_NE(unnamed.err.find("give --kind plan, stations or cells"), std::string::npos);

  const tool_result named =
      run_tool({"dump", "--kind", "cells", (folder / "cells.bin").string(), "--to", "1"});
  EXPECT_EQ(named.status, 0) << named.err;
  EXPECT_NE(named.out.find("cell 1 (50 m) empty: value 5121,"), std::string::npos);
  EXPECT_NE(named.out.find("check cell count: 1961 (not checked"), std::string::npos);

  EXPECT_EQ(run_tool({"dump", "--kind", "table", "x.sim"}).status, 2);
  const tool_result missing = run_tool({"dump", (folder / "none.sim").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
}

}  // namespace
