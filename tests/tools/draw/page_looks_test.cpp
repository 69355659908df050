// The line page draws its marks as the SVG does: each signal object carries
// the kinds its row gave, each indicator the speeds of its row, each curve a
// depth that grows as it tightens, and the plan the turn the SVG uses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/draw/draw_sources.h"
#include "scenario_tool/draw/label_rules.h"
#include "scenario_tool/draw/page_data.h"
#include "support/temp_folder.h"

namespace scenario_tool {
std::string_view page_labels();  // the page's label placement, as the tool carries it
std::string_view page_script();  // the page's script, as the tool carries it
}  // namespace scenario_tool

namespace {

nlohmann::json shipped_page_data() {
  const testing_support::temp_folder folder;
  const auto line = folder / "Brisena_Tarvo_linea.txt";
  const auto train = folder / "Brisena_Tarvo_47306-.txt";
  platform::replace_file(line, scenari::render_lines(scenari::linea_lines()));
  platform::replace_file(train, scenari::render_lines(scenari::treno_lines()));
  const scenario_tool::drawn_texts drawn = scenario_tool::picture_from_texts(line, train);
  return nlohmann::json::parse(
      scenario_tool::page_json(drawn.picture, drawn.rows, drawn.diagnostics));
}

std::vector<std::string> fields_of(const std::string& row) {
  std::vector<std::string> fields;
  std::stringstream in(row);
  for (std::string field; std::getline(in, field, ',');) {
    field.erase(0, field.find_first_not_of(' '));
    field.erase(field.find_last_not_of(" \r") + 1);
    fields.push_back(field);
  }
  return fields;
}

TEST(PageLooks, SignalsIndicatorsCurvesAndThePlanAsTheRowsAndTheSvgHaveThem) {
  const nlohmann::json data = shipped_page_data();

  int signals = 0, indicators = 0;
  for (const auto& o : data["objects"]) {
    if (!o.contains("row")) continue;
    const std::vector<std::string> row =
        fields_of(data["rows"][o["row"].get<std::size_t>()]["text"]);
    if (o["kind"] == 1) {
      // segnale, P, SX, S1, S2, S3, RAPP, DX, ...
      SCOPED_TRACE(o.dump());
      ++signals;
      EXPECT_EQ(o["signal"]["left_kind"], std::stoi(row.at(2)));
      EXPECT_EQ(o["signal"]["rapp"], std::stoi(row.at(6)));
      EXPECT_EQ(o["signal"]["right_kind"], std::stoi(row.at(7)));
      const std::string shape = data["looks"]["signal_shapes"][std::stoi(row.at(2))];
      EXPECT_FALSE(shape.empty());
    } else if (o["kind"] == 6) {
      // indicatori_vmax, P, VAS, VBS, VCS, ...: the ranks' speeds, in km/h.
      SCOPED_TRACE(o.dump());
      ++indicators;
      EXPECT_EQ(o["speeds"],
                nlohmann::json({std::stod(row.at(2)), std::stod(row.at(3)), std::stod(row.at(4))}));
    }
  }
  EXPECT_EQ(signals, 32);
  EXPECT_GT(indicators, 0);

  std::map<long, double> depth_by_radius;
  for (const auto& k : data["curves"]) depth_by_radius[k["radius"]] = k["depth"];
  ASSERT_GT(depth_by_radius.size(), 2u);
  EXPECT_TRUE(std::is_sorted(depth_by_radius.rbegin(), depth_by_radius.rend(),
                             [](const auto& a, const auto& b) { return a.second < b.second; }))
      << "a larger radius is never drawn deeper";
  EXPECT_GT(depth_by_radius.begin()->second, 2 * depth_by_radius.rbegin()->second);

  // The turn is a rotation, and it puts the line's end right of its start.
  const auto& plan = data["plan"];
  const double c = plan["turn"][0], s = plan["turn"][1];
  EXPECT_NEAR(c * c + s * s, 1, 1e-9);
  const auto u = [&](std::size_t i) {
    return plan["x_cm"][i].get<double>() * c - plan["y_cm"][i].get<double>() * s;
  };
  std::size_t end = 0;
  while (end + 1 < plan["metre"].size() && plan["metre"][end + 1] <= data["line_length"]) ++end;
  EXPECT_LT(u(0), u(end));
}

// The page draws with the tool's colours only: its scripts spell none, every
// look it reads is sent, and each sent is a colour a canvas takes (or, for a
// see-through, a share between 0 and 1). A look the page misnames would be
// drawn in whatever colour came before.
TEST(PageLooks, ThePageSpellsNoColourAndEveryLookItReadsIsSent) {
  const std::string script =
      std::string(scenario_tool::page_labels()) + std::string(scenario_tool::page_script());
  const std::regex colour_literal(R"(#[0-9a-fA-F]{3,8}\b|\b(rgba?|hsla?)\s*\()");
  for (auto it = std::sregex_iterator(script.begin(), script.end(), colour_literal);
       it != std::sregex_iterator(); ++it) {
    ADD_FAILURE() << "the page's script spells a colour: "
                  << script.substr(
                         static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, it->position() - 40)),
                         80);
  }

  const nlohmann::json looks = shipped_page_data()["looks"];
  std::set<std::string> read;
  const std::regex look_read(R"(looks\.([A-Za-z_]+))");
  for (auto it = std::sregex_iterator(script.begin(), script.end(), look_read);
       it != std::sregex_iterator(); ++it) {
    read.insert((*it)[1]);
  }
  EXPECT_GT(read.size(), 20u);
  for (const std::string& name : read) EXPECT_TRUE(looks.contains(name)) << name;

  const std::regex hex(R"(#([0-9a-f]{3}|[0-9a-f]{6}))");
  for (const auto& [name, value] : looks.items()) {
    SCOPED_TRACE(name);
    std::vector<std::string> values;
    if (value.is_string()) values.push_back(value);
    for (const auto& v : value) {
      if (v.is_string()) values.push_back(v);
    }
    for (const std::string& v : values) {
      if (name == "signal_shapes") {
        EXPECT_TRUE(v == "circle" || v == "square" || v == "triangle") << v;
      } else if (name.ends_with("_opacity")) {
        EXPECT_GT(std::stod(v), 0);
        EXPECT_LT(std::stod(v), 1);
      } else {
        EXPECT_TRUE(std::regex_match(v, hex)) << v;
      }
    }
  }
  // Every side code a cell can hold has a fill, and each slowdown kind drawn.
  for (int code = 1; code <= 9; ++code)
    EXPECT_TRUE(looks["mountain_fills"].contains(std::to_string(code)));
  for (const char* kind : {"2", "3", "4", "5"}) EXPECT_TRUE(looks["slowdown_fills"].contains(kind));
}

// The page places its labels by the tool's rules only: it is sent every rule
// (the gaps, the priorities, the station lanes, the margin's clearances) with
// its looks, its scripts give no offer a priority of their own nor keep
// their own gaps or clearances, and every rule they read is sent. A rule the
// page misnames would place its labels by nothing.
TEST(PageLooks, ThePageSpellsNoLabelRuleAndEveryRuleItReadsIsSent) {
  const std::string script =
      std::string(scenario_tool::page_labels()) + std::string(scenario_tool::page_script());
  const nlohmann::json rules = shipped_page_data()["looks"]["labels"];
  ASSERT_TRUE(rules.is_object());

  // Sent: each rule of the table, a number, under its group.
  for (const auto& r : scenario_tool::drawing::label_rules::rules) {
    SCOPED_TRACE(std::string(r.group) + "." + std::string(r.name));
    const nlohmann::json& group = r.group.empty() ? rules : rules[std::string(r.group)];
    ASSERT_TRUE(group.contains(std::string(r.name)));
    EXPECT_TRUE(group[std::string(r.name)].is_number());
    EXPECT_EQ(group[std::string(r.name)].get<double>(), r.value);
  }

  // Spelled: a number in an offer's priority, a gap, clearance or lane count
  // kept as the page's own constant, or the margin's clearances as numbers.
  std::vector<std::regex> spelled = {
      std::regex(R"(\bpriority\s*:[^,}\n]*\d)"),
      std::regex(R"(\b[A-Z_]*(GAP|CLEARANCE|LANES)\b\s*=)"),
  };
  for (const char* clearance : {"title_clearance", "scale_clearance"}) {
    const int value = rules[clearance].get<int>();
    spelled.emplace_back(R"(\bLEFT\s*-\s*)" + std::to_string(value) + R"(\b)");
  }
  for (const std::regex& pattern : spelled) {
    for (auto it = std::sregex_iterator(script.begin(), script.end(), pattern);
         it != std::sregex_iterator(); ++it) {
      ADD_FAILURE() << "the page's script spells a label rule: "
                    << script.substr(static_cast<std::size_t>(it->position()), 80);
    }
  }

  // Read: every rule and priority the scripts name is sent.
  std::set<std::string> read;
  const std::regex rule_read(R"(\brules\.(priority\.)?([A-Za-z_]+))");
  for (auto it = std::sregex_iterator(script.begin(), script.end(), rule_read);
       it != std::sregex_iterator(); ++it) {
    const bool priority = (*it)[1].matched;
    const std::string name = (*it)[2];
    read.insert((priority ? "priority." : "") + name);
    EXPECT_TRUE(priority ? rules["priority"].contains(name) : rules.contains(name)) << name;
  }
  for (const char* name : {"label_gap", "mark_gap", "priority.caption", "priority.station_pass",
                           "station_lanes", "title_clearance", "scale_clearance"}) {
    EXPECT_TRUE(read.contains(name)) << "the page reads no " << name;
  }
}

}  // namespace
