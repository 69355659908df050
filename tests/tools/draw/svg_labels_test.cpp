// The words of draw --svg, read back from the SVG itself and measured with the
// same width estimate the placement uses: no two meet, none crosses the edge
// of the plan's box or a band's frame, and no drawn line (the plan, the
// gradient, the speeds, the adhesion) runs through one. Checked on the shipped
// scenario and on a dense line made here: forty stations 250 m apart with long
// names, and a board, signal, indicator or slowdown in every cell.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "model/scenario_model.h"
#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "scenario_tool/draw/label_font.h"
#include "scenario_tool/draw/line_drawing.h"
#include "scenario_tool/draw/svg_page.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using namespace scenario_tool::drawing;

struct written_text {
  std::string text;
  double left, top, right, bottom;
};

std::string attribute(const std::string& tag, const std::string& name) {
  const std::regex re("\\s" + name + "=\"([^\"]*)\"");
  std::smatch m;
  return std::regex_search(tag, m, re) ? m[1].str() : std::string();
}

std::string unescaped(std::string s) {
  for (const auto& [from, to] :
       {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}}) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1)) {
      s.replace(at, std::string(from).size(), to);
    }
  }
  return s;
}

// Every <text> of the SVG with the box the width estimate gives it (11 px
// where the text names no size, as every group that holds such texts does).
std::vector<written_text> texts_of(const std::string& svg) {
  std::vector<written_text> found;
  const std::regex re("<text([^>]*)>([^<]*)</text>");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), re); it != std::sregex_iterator();
       ++it) {
    const std::string tag = (*it)[1];
    const std::string text = unescaped((*it)[2]);
    EXPECT_EQ(attribute(tag, "transform"), "") << text << ": written slanted";
    const std::string size_text = attribute(tag, "font-size");
    const double size = size_text.empty() ? label_font_size : std::atof(size_text.c_str());
    const double x = std::atof(attribute(tag, "x").c_str());
    const double y = std::atof(attribute(tag, "y").c_str());
    const double w = text_width(text, size);
    const std::string anchor = attribute(tag, "text-anchor");
    const double left = anchor == "end" ? x - w : anchor == "middle" ? x - w / 2 : x;
    found.push_back({text, left, y - font_ascent * size, left + w, y + font_descent * size});
  }
  return found;
}

// Every point, one pixel apart, along the polylines of the given classes.
std::vector<std::pair<double, double>> line_points(const std::string& svg) {
  std::vector<std::pair<double, double>> points;
  const std::regex re(
      "<polyline[^>]*class=\"(plan-line|gradient-line|line-speed|indicator-speed-[ABC]|"
      "adhesion-line)\"[^>]*points=\"([^\"]*)\"");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), re); it != std::sregex_iterator();
       ++it) {
    std::vector<std::pair<double, double>> corners;
    const std::string list = (*it)[2];
    const std::regex pair_re("(-?[0-9.]+),(-?[0-9.]+)");
    for (auto p = std::sregex_iterator(list.begin(), list.end(), pair_re);
         p != std::sregex_iterator(); ++p) {
      corners.emplace_back(std::stod((*p)[1]), std::stod((*p)[2]));
    }
    for (std::size_t i = 0; i + 1 < corners.size(); ++i) {
      const auto [x1, y1] = corners[i];
      const auto [x2, y2] = corners[i + 1];
      const int steps = static_cast<int>(std::ceil(std::hypot(x2 - x1, y2 - y1))) + 1;
      for (int k = 0; k <= steps; ++k) {
        points.emplace_back(x1 + (x2 - x1) * k / steps, y1 + (y2 - y1) * k / steps);
      }
    }
  }
  return points;
}

void expect_labels_clear(const std::string& svg) {
  const std::vector<written_text> texts = texts_of(svg);
  ASSERT_GT(texts.size(), 40u);
  // Rounding the coordinates to a tenth of a pixel moves a box by 0.05 at most.
  constexpr double rounding = 0.11;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const written_text& a = texts[i];
    for (std::size_t j = i + 1; j < texts.size(); ++j) {
      const written_text& b = texts[j];
      EXPECT_FALSE(a.left < b.right - rounding && b.left < a.right - rounding &&
                   a.top < b.bottom - rounding && b.top < a.bottom - rounding)
          << '"' << a.text << "\" meets \"" << b.text << '"';
    }
    EXPECT_TRUE(a.left >= -rounding && a.right <= page_width + rounding) << a.text;
    // Inside a frame or outside it, never across its edge.
    for (const auto& [top, bottom] : {std::pair{plan_top, plan_bottom},
                                      {gradient_top, gradient_bottom},
                                      {curves_top, curves_bottom},
                                      {mountain_top, mountain_bottom},
                                      {speed_top, speed_bottom},
                                      {signals_row - 20, marks_bottom}}) {
      const bool inside = a.left >= left - rounding && a.right <= right + rounding &&
                          a.top >= top - rounding && a.bottom <= bottom + rounding;
      const bool outside = a.right <= left + rounding || a.left >= right - rounding ||
                           a.bottom <= top + rounding || a.top >= bottom - rounding;
      EXPECT_TRUE(inside || outside) << '"' << a.text << "\" crosses the frame at " << top;
    }
  }
  for (const auto& [x, y] : line_points(svg)) {
    for (const written_text& t : texts) {
      // A line's stroke reaches about a pixel to either side of it.
      if (x > t.left - 1 && x < t.right + 1 && y > t.top - 1 && y < t.bottom + 1) {
        ADD_FAILURE() << "a line runs through \"" << t.text << "\" at " << x << ", " << y;
        return;
      }
    }
  }
}

TEST(DrawnSvgLabels, NoneMeetsAnotherALineOrAFrameOnTheShippedLine) {
  const testing_support::temp_folder folder;
  const auto line = folder / "Brisena_Tarvo_linea.txt";
  const auto train = folder / "Brisena_Tarvo_47306-.txt";
  platform::replace_file(line, scenari::render_lines(scenari::linea_lines()));
  platform::replace_file(train, scenari::render_lines(scenari::treno_lines()));
  const auto r = testing_support::run_tool({"draw", line.string(), train.string(), "--svg", "-"});
  ASSERT_EQ(r.status, 0) << r.err;
  expect_labels_clear(r.out);
}

// Forty stations 250 m apart on a winding 10 km line, long names, every other
// one a stop with a time; in every cell a board with a long lettering, a
// signal with its RAPP, a speed indicator or a slowdown.
scenario_tool::line_picture dense_line() {
  scenario_tool::line_picture p;
  p.route_id = "Dense";
  p.train_number = "1";
  p.line_length = 10000;
  p.source = "made by the test";
  p.plan = model::track_plan(10000);
  for (std::int32_t m = 0; m <= 10000; ++m) {
    p.plan.set_point(m, m, 150 * std::sin(m / 400.0));
  }
  p.stations.resize(87);
  for (std::size_t i = 1; i <= 40; ++i) {
    model::station_entry& e = p.stations[i];
    e.kind = 12;
    e.position = static_cast<std::int32_t>(i) * 250 - 100;
    e.start = e.position - 100;
    e.end = e.position + 100;
    e.name = "STAZIONE DI PROVA " + std::to_string(i);
    e.stop = i % 2;
    e.time = e.stop ? 36000 + static_cast<std::int32_t>(i) * 60 : 0;
  }
  for (std::size_t i = 41; i < 80; ++i) {
    p.stations[i].name = "(SEGNALE DI )(INIZIO ZONA " + std::to_string(i) + ")(CODIFICATA)";
  }
  p.cells.resize(203);
  for (std::size_t i = 0; i < p.cells.size(); ++i) {
    model::track_cell& c = p.cells[i];
    c.speed_limit = static_cast<std::uint8_t>(i < 100 ? 20 : 28);
    c.gradient = static_cast<std::uint8_t>(100 + (i / 10) % 7 - 3);
    c.adhesion = 100;
    switch (i % 5) {
      case 0:
        c.kind = model::cell_kind::sign;
        c.value = static_cast<std::int16_t>(41 + i % 39);
        break;
      case 1:
        c.kind = model::cell_kind::signal;
        c.value4 = static_cast<std::int16_t>(120 + i % 9);
        break;
      case 2:
        c.kind = model::cell_kind::speed_indicator;
        c.value = c.value2 = c.value3 = static_cast<std::int16_t>(2000 + i);
        break;
      case 3:
        c.kind = model::cell_kind::slowdown_start;
        c.value = 60;
        break;
      default:
        c.kind = model::cell_kind::slowdown_end;
        break;
    }
  }
  return p;
}

TEST(DrawnSvgLabels, NoneMeetsAnotherALineOrAFrameOnADenseLine) {
  const std::string svg = scenario_tool::draw_svg(dense_line());
  expect_labels_clear(svg);
  // The placement leaves labels out here, and keeps their marks.
  const auto count = [&](const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = svg.find(what); at != std::string::npos; at = svg.find(what, at + 1)) ++n;
    return n;
  };
  // The bands' titles and the rows' names are never left out, even beside a
  // mark at chainage 0.
  for (const char* title : {"gradient \xE2\x80\xB0", "curves", "mountain side", "speed km/h",
                            "signals", "boards", "speed indicators", "slowdowns", "speed points"}) {
    EXPECT_EQ(count(std::string(">") + title + "</text>"), 1u) << title;
  }
  EXPECT_EQ(count("class=\"station-mark\""), 40u);
  EXPECT_EQ(count("class=\"board-mark\""), 41u);
  EXPECT_GT(count("class=\"station-name\""), 0u);
  EXPECT_LT(count("class=\"station-name\""), 40u);
  EXPECT_LT(count("class=\"board-lettering\""), 41u);
}

}  // namespace
