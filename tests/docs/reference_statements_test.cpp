// What the format reference states of where rows land and how the chainage
// references are ordered, checked against what the compile stores.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "assembly/compiled_decoder.h"
#include "platform/replace_file.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::tool_result;

std::string reference_page() {
  std::ifstream in(FORMAT_REFERENCE_PATH, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The page's words with each line end as a blank, so a sentence can be found
// whatever its wrapping.
std::string flowing(std::string text) {
  for (char& c : text) {
    if (c == '\n') c = ' ';
  }
  return text;
}

// The minimal scenario of `new`, its rows replaced as a test needs.
class minimal_scenario {
 public:
  minimal_scenario() {
    const tool_result made =
        run_tool({"new", (folder_ / "s").string(), "--route", "R", "--train", "1"});
    EXPECT_EQ(made.status, 0) << made.err;
  }
  void replace_row(const std::string& file, const std::string& starting, const std::string& with) {
    std::string text = platform::read_file(folder_ / "s" / file);
    const std::size_t at = text.find(starting);
    ASSERT_NE(at, std::string::npos) << starting;
    text.replace(at, text.find("\r\n", at) - at, with);
    platform::replace_file(folder_ / "s" / file, text);
  }
  tool_result compile() {
    return run_tool({"compile", (folder_ / "s").string(), "--out", (folder_ / "out").string()});
  }
  assembly::decoded_file stations() const {
    return assembly::read_compiled_file(folder_ / "out" / "R_1.sim", assembly::file_kind::stations);
  }

 private:
  testing_support::temp_folder folder_;
};

TEST(ReferenceStatements, TwoSignalsShareACellWhenTheirChainagesRoundToIt) {
  const std::string page = flowing(reference_page());
  ASSERT_NE(
      page.find("signals at 2050 m and 2075 m both land in cell 42 (a clash), while signals at "
                "2100 m and 2125 m land in cells 43 and 44"),
      std::string::npos);
  const struct {
    const char* first;
    const char* second;
    bool clash;
  } cases[] = {{"2050", "2075", true}, {"2100", "2125", false}, {"2600", "2650", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " and " + c.second);
    minimal_scenario scenario;
    scenario.replace_row("R_1-.txt", "segnale,",
                         std::string("segnale, ") + c.first + ", 2, 4, 1, 0, 0, 0, 0,0,0, 0\r\n" +
                             "segnale, " + c.second + ", 2, 4, 1, 0, 0, 0, 0,0,0, 0");
    const tool_result result = scenario.compile();
    EXPECT_EQ(result.err.find("error: 16:") != std::string::npos, c.clash) << result.err;
    if (c.clash) {
      EXPECT_NE(result.err.find("its cell, 42 (2100 m)"), std::string::npos) << result.err;
    }
  }
}

TEST(ReferenceStatements, TwoReferencesAtTheFurthestChainageCancelAllThreeAndBelowItBothStay) {
  const std::string page = flowing(reference_page());
  ASSERT_NE(
      page.find("Two references at the same chainage that is the furthest of the three cancel "
                "all three"),
      std::string::npos);
  struct stored {
    std::int32_t start;
    std::int32_t offset;
  };
  const struct {
    const char* uno;
    const char* due;
    const char* tre;
    stored e81, e82, e83;
  } cases[] = {
      {"3000, 200, 0", "3000, 500, 0", "0, 0, 0", {0, 0}, {0, 0}, {0, 0}},
      {"3000, 200, 0", "3000, 500, 0", "4000, 700, 0", {4000, 700}, {3000, 200}, {3000, 500}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.uno) + " / " + c.due + " / " + c.tre);
    minimal_scenario scenario;
    scenario.replace_row("R_linea.txt", "progressiva chilometrica uno",
                         std::string("progressiva chilometrica uno, ") + c.uno);
    scenario.replace_row("R_linea.txt", "progressiva chilometrica due",
                         std::string("progressiva chilometrica due, ") + c.due);
    scenario.replace_row("R_linea.txt", "progressiva chilometrica tre",
                         std::string("progressiva chilometrica tre, ") + c.tre);
    const tool_result result = scenario.compile();
    EXPECT_EQ(result.status, 0) << result.err;
    const assembly::decoded_file table = scenario.stations();
    ASSERT_EQ(table.stations.size(), 87u);
    const stored expected[] = {c.e81, c.e82, c.e83};
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(81 + i);
      EXPECT_EQ(table.stations[81 + i].start, expected[i].start);
      EXPECT_EQ(table.stations[81 + i].end, expected[i].offset);
    }
  }
}

// The lines of the first indented block after the first line of the page
// that holds `after`, without their indentation.
std::vector<std::string> example_after(const std::string& page, const std::string& after) {
  std::vector<std::string> block;
  std::istringstream in(page.substr(std::min(page.find(after), page.size())));
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line) && line.rfind("    ", 0) != 0) {
  }
  do {
    if (line.rfind("    ", 0) != 0) break;
    block.push_back(line.substr(4));
  } while (std::getline(in, line));
  return block;
}

// The example of a wrapped value: the row the page shows, put into the minimal
// scenario, gives the diagnostic the page shows.
TEST(ReferenceStatements, TheWrappedGradientExampleIsWhatCompileSays) {
  const std::string page = reference_page();
  const std::vector<std::string> row = example_after(page, "second gradient row written as");
  const std::vector<std::string> said = example_after(page, "pendenza,  2500,   160");
  ASSERT_EQ(row.size(), 1u);
  ASSERT_EQ(said.size(), 1u);
  minimal_scenario scenario;
  scenario.replace_row("R_linea.txt", "pendenza,  2500", row[0]);
  const tool_result result = scenario.compile();
  EXPECT_EQ(result.status, 1) << result.err;
  // The page names the text as a user in the scenario's folder sees it.
  ASSERT_EQ(said[0].rfind("R_linea.txt:", 0), 0u) << said[0];
  const std::string separator(1, static_cast<char>(std::filesystem::path::preferred_separator));
  EXPECT_NE(result.err.find(separator + said[0] + "\n"), std::string::npos) << result.err;
}

}  // namespace
