// draw --svg beyond the marks of stations and signals: the plan turned to fill
// its box, curves as deep as they are tight, boards, speed indicators where
// they stand, mountain-side stretches, signals by kind and stations by stop or
// pass, each checked against the shipped texts' own rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "model/track_plan.h"
#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/draw/plan_turn.h"
#include "scenario_tool/shared/windows_1252.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::temp_folder;

// The fields of every row of `lines` whose keyword is `keyword`, trimmed.
std::vector<std::vector<std::string>> rows_of(const scenari::line_list& lines,
                                              const std::string& keyword) {
  std::vector<std::vector<std::string>> found;
  for (const std::string_view view : lines) {
    std::string line(view);
    line.erase(0, line.find_first_not_of(' '));
    if (line.compare(0, keyword.size() + 1, keyword + ",") != 0) continue;
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, ',');) {
      field.erase(0, field.find_first_not_of(' '));
      field.erase(field.find_last_not_of(" \r") + 1);
      fields.push_back(field);
    }
    found.push_back(fields);
  }
  return found;
}

std::vector<std::smatch> matches(const std::string& text, const std::string& pattern) {
  const std::regex re(pattern);
  std::vector<std::smatch> all;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
       ++it) {
    all.push_back(*it);
  }
  return all;
}

// The SVG of the shipped texts, drawn once for every test here.
const std::string& shipped_svg() {
  static const std::string svg = [] {
    const temp_folder folder;
    const auto line = folder / "Brisena_Tarvo_linea.txt";
    const auto train = folder / "Brisena_Tarvo_47306-.txt";
    platform::replace_file(line, scenari::render_lines(scenari::linea_lines()));
    platform::replace_file(train, scenari::render_lines(scenari::treno_lines()));
    const auto r = run_tool({"draw", line.string(), train.string(), "--svg", "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  }();
  return svg;
}

TEST(DrawnSvg, ThePlanFillsItsBoxAndStartsOnTheLeft) {
  const auto lines = matches(shipped_svg(), "class=\"plan-line\" points=\"([^\"]*)\"");
  ASSERT_EQ(lines.size(), 1u);
  std::stringstream points(lines[0][1].str());
  std::vector<std::pair<double, double>> xy;
  for (std::string p; points >> p;) {
    const std::size_t comma = p.find(',');
    xy.emplace_back(std::stod(p.substr(0, comma)), std::stod(p.substr(comma + 1)));
  }
  ASSERT_GT(xy.size(), 20u);
  double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
  for (const auto& [x, y] : xy) {
    x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
  }
  // The plan box is 1440 x 500 with 40 of padding on every side.
  EXPECT_TRUE(x1 - x0 > 0.95 * 1360 || y1 - y0 > 0.95 * 420)
      << "the line covers " << x1 - x0 << " x " << y1 - y0;
  EXPECT_GE(x0, 120 + 40 - 0.5);
  EXPECT_LE(x1, 1560 - 40 + 0.5);
  EXPECT_GE(y0, 100 + 40 - 0.5);
  EXPECT_LE(y1, 600 - 40 + 0.5);
  EXPECT_LT(xy.front().first, xy.back().first) << "the line starts on the left";
}

TEST(DrawnSvg, TighterCurvesAreDrawnDeeper) {
  const auto curves =
      matches(shipped_svg(),
              "<rect class=\"curve-(?:right|left)\"[^>]* height=\"([0-9.]+)\"[^>]*><title>"
              "[^<]*radius about ([0-9]+) m</title>");
  ASSERT_GT(curves.size(), 5u);
  std::map<double, std::set<double>> heights_by_radius;
  for (const auto& c : curves) heights_by_radius[std::stod(c[2])].insert(std::stod(c[1]));
  ASSERT_GT(heights_by_radius.size(), 2u) << "the shipped line has curves of several radii";
  double previous = 1e9;
  for (const auto& [radius, heights] : heights_by_radius) {
    SCOPED_TRACE(radius);
    EXPECT_LE(*heights.rbegin(), previous + 0.1);
    previous = *heights.begin();
  }
  EXPECT_GT(
      heights_by_radius.begin()->second.size() > 0 ? *heights_by_radius.begin()->second.begin() : 0,
      2 * *heights_by_radius.rbegin()->second.rbegin())
      << "the tightest curve stands well above the gentlest";
}

TEST(DrawnSvg, BoardsIndicatorsAndMountainStretchesStandWhereTheRowsPutThem) {
  const std::string& svg = shipped_svg();
  // Boards and speed indicators land one cell on: chainage P in cell P / 50 + 1.
  struct object_kind {
    const char* keyword;
    const char* pattern;  // the mark's title, its km as the first group
  };
  for (const object_kind& kind :
       {object_kind{"cartello_indicatore",
                    "class=\"board-mark\"><title>sign, cell [0-9]+, "
                    "([0-9.]+) km"},
        object_kind{"indicatori_vmax",
                    "class=\"indicator-mark\"[^>]*><title>speed indicator, "
                    "([0-9.]+) km"}}) {
    SCOPED_TRACE(kind.keyword);
    std::multiset<long> written, drawn;
    for (const auto& row : rows_of(scenari::linea_lines(), kind.keyword)) {
      written.insert((std::stol(row.at(1)) / 50 + 1) * 50);
    }
    for (const auto& m : matches(svg, kind.pattern)) {
      drawn.insert(std::lround(std::stod(m[1]) * 1000));
    }
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(drawn, written);
  }
  // Mountain-side stretches cover the cells of the rows, a / 50 to b / 50 - 1.
  std::set<long> written, drawn;
  for (const auto& row : rows_of(scenari::linea_lines(), "montagna")) {
    for (long m = std::stol(row.at(1)); m < std::stol(row.at(2)); m += 50) written.insert(m);
  }
  for (const auto& m :
       matches(svg,
               "class=\"mountain-stretch\"[^>]*><title>mountain side [1-3], ([0-9.]+) km to "
               "([0-9.]+) km")) {
    for (long c = std::lround(std::stod(m[1]) * 1000); c < std::lround(std::stod(m[2]) * 1000);
         c += 50) {
      drawn.insert(c);
    }
  }
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(drawn, written);
}

TEST(DrawnSvg, SignalsShowTheirKindsAndStationsTheirStops) {
  const std::string& svg = shipped_svg();
  // segnale, P, SX, S1, S2, S3, RAPP, DX, ...: the cell P / 50 + 1.
  std::map<long, std::pair<std::string, std::string>> written;
  for (const auto& row : rows_of(scenari::treno_lines(), "segnale")) {
    written[std::stol(row.at(1)) / 50 + 1] = {row.at(2), row.at(7)};
  }
  std::map<long, std::pair<std::string, std::string>> drawn;
  for (const auto& m : matches(svg,
                               "class=\"signal-mark\" data-left-kind=\"([0-9])\" "
                               "data-right-kind=\"([0-9])\"><title>signal, cell ([0-9]+)")) {
    drawn[std::stol(m[3])] = {m[1], m[2]};
  }
  EXPECT_EQ(drawn, written);
  std::set<std::string> kinds;
  for (const auto& [cell, k] : written) kinds.insert(k.first + k.second);
  EXPECT_GT(kinds.size(), 1u) << "the shipped train has signals of several kinds";

  // stazione: field 13 is STOP (0: the train passes), the last the name.
  std::map<std::string, std::string> stops_written, stops_drawn;
  for (const auto& row : rows_of(scenari::treno_lines(), "stazione")) {
    stops_written[scenario_tool::utf8_from_windows_1252(row.back())] =
        row.at(13) == "0" ? "false" : "true";
  }
  for (const auto& m :
       matches(svg, "class=\"station-mark\" data-stops=\"(true|false)\"[^>]*><title>([^,<]+),")) {
    stops_drawn[m[2]] = m[1];
  }
  EXPECT_EQ(stops_drawn, stops_written);
  EXPECT_NE(std::count_if(stops_written.begin(), stops_written.end(),
                          [](const auto& s) { return s.second == "false"; }),
            0);
}

// The points of the SVG's plan line.
std::vector<std::pair<double, double>> plan_line(const std::string& svg) {
  const auto lines = matches(svg, "class=\"plan-line\" points=\"([^\"]*)\"");
  std::vector<std::pair<double, double>> xy;
  if (lines.size() != 1) return xy;
  std::stringstream points(lines[0][1].str());
  for (std::string p; points >> p;) {
    const std::size_t comma = p.find(',');
    xy.emplace_back(std::stod(p.substr(0, comma)), std::stod(p.substr(comma + 1)));
  }
  return xy;
}

TEST(DrawnSvg, ThePlanLineRunsToTheLinesEndPastItsLastBend) {
  // One curve near the start, then 9 km of straight track, and a gradient row
  // past the end that makes the plan run on: thinning keeps no point between
  // the bend and the plan's last metre, yet the line is drawn to its end.
  const temp_folder folder;
  platform::replace_file(folder / "R_linea.txt",
                         "[generale]\r\nlunghezza percorso, 12000\r\n[curve]\r\npendenza, 0, "
                         "0\r\ncurvad2, 2000, 300\r\npendenza, 12500, 2\r\n[fine]\r\n");
  platform::replace_file(folder / "R_1-.txt",
                         "[generale]\r\naderenza, 0, 100\r\nstazione, 5000, 12, 200, 0,0,0, "
                         "0,0,0, 0,0,0, 1, 10,0,0, MID\r\n[fine]\r\n");
  const auto r = run_tool(
      {"draw", (folder / "R_linea.txt").string(), (folder / "R_1-.txt").string(), "--svg", "-"});
  const auto xy = plan_line(r.out);
  ASSERT_GE(xy.size(), 2u) << r.err;
  double x0 = 1e9, x1 = -1e9;
  for (const auto& [x, y] : xy) x0 = std::min(x0, x), x1 = std::max(x1, x);
  EXPECT_GT(x1 - x0, 0.95 * 1360) << "the plan line covers " << x1 - x0 << " of 1360 px";
  EXPECT_NEAR(xy.back().first, x1, 0.5) << "the line ends on the right";
}

// A straight plan of 1000 m heading the given way from (x0, y0).
model::track_plan straight(double dx, double dy) {
  model::track_plan plan(1002);
  for (std::int32_t m = 0; m <= 1002; ++m) plan.set_point(m, 500 + m * dx, -300 + m * dy);
  return plan;
}

TEST(PlanTurn, AnyHeadingIsTurnedToRunLeftToRight) {
  const double s = std::sqrt(0.5);
  for (const auto& [dx, dy] : std::vector<std::pair<double, double>>{
           {0, 1}, {0, -1}, {1, 0}, {-1, 0}, {s, s}, {-s, s}, {-s, -s}, {0.6, -0.8}}) {
    SCOPED_TRACE(std::to_string(dx) + ", " + std::to_string(dy));
    const model::track_plan plan = straight(dx, dy);
    const scenario_tool::drawing::plan_turn turn = scenario_tool::drawing::turn_of(plan, 1000);
    const double du = turn.u(plan.number(1000, 0), plan.number(1000, 1)) -
                      turn.u(plan.number(0, 0), plan.number(0, 1));
    const double dv = turn.v(plan.number(1000, 0), plan.number(1000, 1)) -
                      turn.v(plan.number(0, 0), plan.number(0, 1));
    EXPECT_NEAR(du, 1000, 1e-6);
    EXPECT_NEAR(dv, 0, 1e-6);
  }
}

}  // namespace
