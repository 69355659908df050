// draw: the SVG of the shipped scenario is well-formed XML (checked by
// xmllint), self-contained, and holds one mark per station and signal of the
// texts; the texts themselves are never changed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "scenari/scenario_texts.h"
#include "scenario_tool/shared/windows_1252.h"
#include "support/run_tool.h"
#include "tools/shipped_compiled.h"

namespace {

using testing_support::run_tool;
using testing_support::temp_folder;
using testing_support::tool_result;

std::size_t occurrences(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

// The rows of a text whose keyword field is `keyword`, and their last fields.
std::vector<std::string> rows(const scenari::line_list& lines, const std::string& keyword) {
  std::vector<std::string> found;
  for (const std::string_view view : lines) {
    const std::string line(view);
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos || line.compare(start, keyword.size() + 1, keyword + ",") != 0) {
      continue;
    }
    std::string last = line.substr(line.rfind(',') + 1);
    last.erase(0, last.find_first_not_of(' '));
    last.erase(last.find_last_not_of(' ') + 1);
    found.push_back(last);
  }
  return found;
}

// xmllint, from Debian's libxml2-utils, parses the file as XML.
void expect_well_formed([[maybe_unused]] const std::filesystem::path& svg) {
#ifdef _WIN32
  GTEST_SKIP() << "xmllint is not run under Windows";
#else
  ASSERT_EQ(std::system("command -v xmllint >/dev/null 2>&1"), 0)
      << "xmllint is missing: install libxml2-utils (.ci/run does)";
  EXPECT_EQ(std::system(("xmllint --noout '" + svg.string() + "'").c_str()), 0);
#endif
}

void expect_self_contained(const std::string& svg) {
  EXPECT_EQ(svg.find("<script"), std::string::npos);
  EXPECT_EQ(svg.find("href"), std::string::npos);
  EXPECT_EQ(svg.find("http://", svg.find("xmlns=") + 40), std::string::npos);
  EXPECT_EQ(svg.find("<image"), std::string::npos);
}

struct shipped_texts {
  temp_folder folder;
  std::filesystem::path line = folder / "Brisena_Tarvo_linea.txt";
  std::filesystem::path train = folder / "Brisena_Tarvo_47306-.txt";
  shipped_texts() {
    platform::replace_file(line, scenari::render_lines(scenari::linea_lines()));
    platform::replace_file(train, scenari::render_lines(scenari::treno_lines()));
  }
};

TEST(Draw, FromTheShippedTextsOneMarkPerStationAndSignal) {
  const shipped_texts texts;
  const std::string line_before = platform::read_file(texts.line);
  const std::string train_before = platform::read_file(texts.train);
  const std::filesystem::path out = texts.folder / "line.svg";
  const tool_result r =
      run_tool({"draw", texts.line.string(), texts.train.string(), "--svg", out.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  // The author's texts stay as they were, and nothing but the picture is added.
  EXPECT_EQ(platform::read_file(texts.line), line_before);
  EXPECT_EQ(platform::read_file(texts.train), train_before);
  EXPECT_EQ(texts.folder.names(), (std::set<std::string>{"Brisena_Tarvo_linea.txt",
                                                         "Brisena_Tarvo_47306-.txt", "line.svg"}));

  expect_well_formed(out);
  const std::string svg = platform::read_file(out);
  expect_self_contained(svg);
  const std::vector<std::string> stations = rows(scenari::treno_lines(), "stazione");
  const std::vector<std::string> signals = rows(scenari::treno_lines(), "segnale");
  ASSERT_EQ(stations.size(), 18u);
  EXPECT_EQ(occurrences(svg, "class=\"station-mark\""), stations.size());
  EXPECT_EQ(occurrences(svg, "class=\"plan-station-mark\""), stations.size());
  EXPECT_EQ(occurrences(svg, "class=\"signal-mark\""), signals.size());
  for (const std::string& name : stations) {
    SCOPED_TRACE(name);
    std::string label(">");
    label += scenario_tool::utf8_from_windows_1252(name);
    label += "</text>";
    EXPECT_NE(svg.find(label), std::string::npos);
  }
  EXPECT_NE(svg.find("Brisena_Tarvo — train 47306"), std::string::npos);
  EXPECT_NE(svg.find("check codes: weighted 32714, plain 2339 (both match"), std::string::npos);
  // Speed points: the texts give none ("abbattimento"), so every one drawn is the walk's.
  EXPECT_EQ(rows(scenari::treno_lines(), "abbattimento").size(), 0u);
  EXPECT_EQ(occurrences(svg, "class=\"speed-point-text\""), 0u);
  EXPECT_GT(occurrences(svg, "class=\"speed-point-walk\""), 0u);
  EXPECT_GT(occurrences(svg, "class=\"curve-right\""), 0u);
  EXPECT_GT(occurrences(svg, "class=\"curve-left\""), 0u);
}

TEST(Draw, FromACompiledFolderSaysThatTheWalksPointsCannotBeTold) {
  const std::filesystem::path out = temp_folder().path().string() + "_compiled.svg";
  const tool_result r = run_tool(
      {"draw", testing_support::shipped_compiled().path().string(), "--svg", out.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  expect_well_formed(out);
  const std::string svg = platform::read_file(out);
  std::filesystem::remove(out);
  // "-" writes the same picture to standard output.
  const tool_result to_output =
      run_tool({"draw", testing_support::shipped_compiled().path().string(), "--svg", "-"});
  EXPECT_EQ(to_output.status, 0);
  EXPECT_EQ(to_output.out, svg);
  expect_self_contained(svg);
  EXPECT_EQ(occurrences(svg, "class=\"station-mark\""), 18u);
  EXPECT_EQ(occurrences(svg, "class=\"signal-mark\""),
            rows(scenari::treno_lines(), "segnale").size());
  EXPECT_EQ(occurrences(svg, "class=\"speed-point-walk\""), 0u);
  EXPECT_GT(occurrences(svg, "class=\"speed-point\""), 0u);
  EXPECT_NE(svg.find("cannot be told from those the texts give"), std::string::npos);
}

TEST(Draw, NamesAreDecodedFromWindows1252) {
  shipped_texts texts;
  std::string train = platform::read_file(texts.train);
  const std::size_t at = train.find("TARVO");
  ASSERT_NE(at, std::string::npos);
  train.replace(at, 5, "TARV\xC8 2\xB0 & <km>");  // È, the degree sign, and XML's own signs
  platform::replace_file(texts.train, train);
  const std::filesystem::path out = texts.folder / "line.svg";
  const tool_result r =
      run_tool({"draw", texts.line.string(), texts.train.string(), "--svg", out.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  expect_well_formed(out);
  // Named alone, or with its time where the train's timetable gives one.
  const std::string svg = platform::read_file(out);
  const std::string name = ">TARV\xC3\x88 2\xC2\xB0 &amp; &lt;km&gt;";
  EXPECT_TRUE(svg.find(name + "</text>") != std::string::npos ||
              svg.find(name + " 12:36:00</text>") != std::string::npos);
}

TEST(Draw, TheLongestLineGivesAPictureOfModestSize) {
  shipped_texts texts;
  std::string line = platform::read_file(texts.line);
  const std::size_t at = line.find("91000");
  ASSERT_NE(at, std::string::npos);
  line.replace(at, 5, "1000000");
  platform::replace_file(texts.line, line);
  const std::filesystem::path out = texts.folder / "line.svg";
  const tool_result r =
      run_tool({"draw", texts.line.string(), texts.train.string(), "--svg", out.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  expect_well_formed(out);
  // The plan is thinned to what the page shows: a few thousand points.
  EXPECT_LT(platform::read_file(out).size(), 400'000u);
}

TEST(Draw, TextsThatGiveNoLineOrAMissingFolder) {
  const temp_folder folder;
  platform::replace_file(folder / "a_linea.txt", "nothing here\r\n");
  platform::replace_file(folder / "a_1-.txt", "nothing here\r\n");
  const tool_result r =
      run_tool({"draw", (folder / "a_linea.txt").string(), (folder / "a_1-.txt").string(), "--svg",
                (folder / "x.svg").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("scenario_tool draw: nothing to draw: the line text gave no track cells"),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(std::filesystem::exists(folder / "x.svg"));

  const tool_result no_folder =
      run_tool({"draw", (folder / "none").string(), "--svg", (folder / "x.svg").string()});
  EXPECT_EQ(no_folder.status, 2);
  EXPECT_EQ(run_tool({"draw", (folder / "none").string()}).status, 2);  // no --svg
}

}  // namespace

namespace {

TEST(Draw, AnErrorTheCompilerRecordsIsPrintedAndShown) {
  shipped_texts texts;
  std::string train = platform::read_file(texts.train);
  const std::string first_signal = "segnale,    1600,";
  const std::size_t at = train.find(first_signal);
  ASSERT_NE(at, std::string::npos);
  // A second signal on the first one's cell: the store records error 16.
  train.insert(at, "segnale,    1600,   2, 4, 1,  0, 0,    1,  3,1,0, 205\r\n");
  platform::replace_file(texts.train, train);
  const std::filesystem::path out = texts.folder / "line.svg";
  const tool_result r =
      run_tool({"draw", texts.line.string(), texts.train.string(), "--svg", out.string()});
  // As compile does: the same diagnostics and status 1; the picture is drawn all the same.
  EXPECT_EQ(r.status, 1);
  const tool_result compiled = run_tool({"compile", texts.line.string(), texts.train.string(),
                                         "--out", (texts.folder / "out").string()});
  EXPECT_EQ(compiled.status, 1);
  EXPECT_EQ(r.err, compiled.err);
  EXPECT_NE(r.err.find(": error: 16: signal on a cell that is not free"), std::string::npos)
      << r.err;
  expect_well_formed(out);
  EXPECT_EQ(occurrences(platform::read_file(out), "class=\"note\""), 1u);
}

}  // namespace

namespace {

// The station table with `route` as the route name stored in entry 85.
std::string stations_with_route(const std::string& route) {
  const std::string bytes = testing_support::shipped_bytes(testing_support::shipped_stations);
  const std::size_t at = testing_support::station_offset(bytes, 85);
  const std::size_t old_length =
      static_cast<unsigned char>(bytes.at(at + 14)) |
      static_cast<std::size_t>(static_cast<unsigned char>(bytes.at(at + 15))) << 8;
  std::string altered = bytes.substr(0, at + 14);
  altered += static_cast<char>(route.size() & 0xFF);
  altered += static_cast<char>(route.size() >> 8);
  altered += route;
  altered += bytes.substr(at + 16 + old_length);
  return altered;
}

TEST(Draw, ARouteNameReadFromTheTableNeverLeadsOutOfTheFolder) {
  // A plan outside the drawn folder, where a stored name with folders in it
  // would lead; the folder itself holds no plan.
  const temp_folder root;
  std::filesystem::create_directories(root / "table");
  std::filesystem::create_directories(root / "elsewhere");
  platform::replace_file(root / "elsewhere" / testing_support::shipped_plan,
                         testing_support::shipped_bytes(testing_support::shipped_plan));
  platform::replace_file(root / "table" / testing_support::shipped_cells,
                         testing_support::shipped_bytes(testing_support::shipped_cells));
  // Nor a name that Windows takes for a device or refuses: the same check
  // as every identity's.
  for (const std::string& route :
       {std::string("../elsewhere/Brisena_Tarvo"), (root / "elsewhere" / "Brisena_Tarvo").string(),
        std::string("CON"), std::string("Brisena<Tarvo"), std::string("Brisena.")}) {
    SCOPED_TRACE(route);
    platform::replace_file(root / "table" / testing_support::shipped_stations,
                           stations_with_route(route));
    const tool_result r = run_tool({"draw", (root / "table").string(), "--svg", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("is not a plain file name"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("no track plan file Brisena_Tarvo_linea.dat"), std::string::npos) << r.err;
  }
}

}  // namespace
