// draw --html: the page carries its data whole and safe inside one file, the
// plan thinned within its tolerance, every object with the row that made it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "model/track_plan.h"
#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/draw/html_page.h"
#include "scenario_tool/draw/page_data.h"
#include "scenario_tool/shared/windows_1252.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::temp_folder;
using testing_support::tool_result;

// The JSON between the data script's tags.
std::string data_of(const std::string& page) {
  const std::string open = "<script id=\"page-data\" type=\"application/json\">";
  const std::size_t from = page.find(open);
  if (from == std::string::npos) return {};
  const std::size_t to = page.find("</script>", from);
  return page.substr(from + open.size(), to - from - open.size());
}

TEST(LinePage, DataThatLooksLikeMarkupStaysData) {
  // A sign's lettering or a file name may hold anything an author types.
  const nlohmann::json data = {{"name", "</script><script>alert(1)</script>"},
                               {"other", "a <b> & \"c\" @DATA@ @SCRIPT@"}};
  const std::string page = scenario_tool::html_page(data.dump(), "Line <x> & \"y\"", false);
  EXPECT_EQ(page.find("<script>alert"), std::string::npos);
  EXPECT_EQ(page.find("<x>"), std::string::npos);
  EXPECT_NE(page.find("<title>Line &lt;x&gt; &amp; &quot;y&quot;</title>"), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(data_of(page)), data);
  // One self-contained file: no script, style or picture fetched from elsewhere.
  EXPECT_EQ(page.find("src="), std::string::npos);
  EXPECT_EQ(page.find("<link"), std::string::npos);
  EXPECT_EQ(page.find("http://"), std::string::npos);
  EXPECT_EQ(page.find("https://"), std::string::npos);
  EXPECT_NE(page.find("startPage("), std::string::npos);
}

double distance_to_segment(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
  t = std::fmax(0, std::fmin(1, t));
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

TEST(LinePage, ThePlanIsThinnedWithinItsToleranceAndKeepsItsBends) {
  // A straight kilometre, a quarter circle of 300 m radius, then straight on;
  // metres 1500 to 1510 are empty (not drawable).
  model::track_plan plan(2000);
  const double pi = std::acos(-1.0);
  for (std::int32_t m = 0; m <= 2000; ++m) {
    double x = m, y = 0;
    if (m > 1000) {
      const double turned = std::min((m - 1000) / 300.0, pi / 2);
      x = 1000 + 300 * std::sin(turned);
      y = 300 - 300 * std::cos(turned);
      if (m - 1000 > 300 * pi / 2) y += m - 1000 - 300 * pi / 2;
    }
    if (m < 1500 || m > 1510) plan.set_point(m, x, y);
  }
  const double tolerance = 0.5;
  const std::vector<std::int32_t> kept = scenario_tool::thinned_plan(plan, 2000, tolerance);
  ASSERT_GE(kept.size(), 4u);
  EXPECT_EQ(kept.front(), 0);
  EXPECT_EQ(kept.back(), 2000);
  EXPECT_LT(kept.size(), 100u);  // from 1990 drawable points
  for (const std::int32_t m : kept) EXPECT_TRUE(m < 1500 || m > 1510) << m;
  // Every drawable metre lies within the tolerance of the kept line.
  for (std::size_t k = 1; k < kept.size(); ++k) {
    for (std::int32_t m = kept[k - 1]; m <= kept[k]; ++m) {
      if (m >= 1500 && m <= 1510) continue;
      const double d = distance_to_segment(plan.number(m, 0), plan.number(m, 1),
                                           plan.number(kept[k - 1], 0), plan.number(kept[k - 1], 1),
                                           plan.number(kept[k], 0), plan.number(kept[k], 1));
      EXPECT_LE(d, tolerance + 1e-9) << "metre " << m;
    }
  }
}

TEST(LinePage, EveryObjectOfTheShippedTextsLeadsToItsRow) {
  temp_folder folder;
  const std::filesystem::path line = folder / "Brisena_Tarvo_linea.txt";
  const std::filesystem::path train = folder / "Brisena_Tarvo_47306-.txt";
  platform::replace_file(line, scenari::render_lines(scenari::linea_lines()));
  platform::replace_file(train, scenari::render_lines(scenari::treno_lines()));
  const std::filesystem::path out = folder / "line.html";
  const tool_result r = run_tool({"draw", line.string(), train.string(), "--html", out.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, out.string() + "\n");
  const nlohmann::json data = nlohmann::json::parse(data_of(platform::read_file(out)));
  const std::string train_bytes = platform::read_file(train);
  const std::string line_bytes = platform::read_file(line);
  int signals = 0;
  for (const auto& o : data["objects"]) {
    // Each object names a row of the texts, or the row whose object made the walk add it.
    const bool walk = o.contains("by_walk") && o["by_walk"] == true;
    ASSERT_TRUE(o.contains(walk ? "trigger_row" : "row")) << o.dump();
    const auto& row = data["rows"][o[walk ? "trigger_row" : "row"].get<std::size_t>()];
    const std::string& bytes =
        row["file_name"] == train.filename().string() ? train_bytes : line_bytes;
    // The line named is the row shown, as the text holds it.
    std::size_t at = 0;
    for (std::size_t n = 1; n < row["line"].get<std::size_t>(); ++n) at = bytes.find('\n', at) + 1;
    // The texts are Windows-1252; the page is UTF-8.
    EXPECT_EQ(scenario_tool::utf8_from_windows_1252(bytes.substr(at, bytes.find('\r', at) - at)),
              row["text"].get<std::string>());
    if (o["kind"] == 1) {
      ++signals;
      EXPECT_EQ(row["text"].get<std::string>().rfind("segnale,", 0), 0u) << row["text"];
      EXPECT_NE(row["text"].get<std::string>().find(std::to_string(o["row_chainage"].get<int>())),
                std::string::npos);
    }
  }
  EXPECT_EQ(signals, 32);
  EXPECT_TRUE(data["diagnostics"].empty());
  // The plan is thinned: far fewer points than the 98 001 metres it covers.
  EXPECT_EQ(data["plan"]["full_points"], 98001);
  EXPECT_LT(data["plan"]["metre"].size(), 2000u);
}

}  // namespace
