// A keyword that matches none gets the nearest keyword as a suggestion when it
// is at most two edits away, and none when it is three or more. Within two
// edits it is a slip of the pen, an error; further away, a warning.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::temp_folder;
using testing_support::tool_result;

struct typo_case {
  const char* name;
  const char* keyword;     // in place of "pendenza" in a curve section row
  const char* suggestion;  // "" for none
};

class KeywordSuggestion : public testing::TestWithParam<typo_case> {};

TEST_P(KeywordSuggestion, IsGivenWithinTwoEditsOnly) {
  const typo_case& c = GetParam();
  const temp_folder folder;
  const std::string row = std::string(c.keyword) + ", 0, 0";
  const std::string line_path = (folder / "R_linea.txt").string();
  const std::string train_path = (folder / "R_1-.txt").string();
  platform::replace_file(
      line_path, "[generale]\r\nlunghezza percorso, 1000\r\n[curve]\r\n" + row + "\r\n[fine]\r\n");
  platform::replace_file(train_path,
                         "[generale]\r\naderenza, 0, 100\r\nvelocita, 0, 100\r\n[fine]\r\n");

  const tool_result r =
      run_tool({"compile", line_path, train_path, "--out", (folder / "out").string()});
  const bool typo = *c.suggestion != '\0';
  EXPECT_EQ(r.status, typo ? 1 : 0);
  EXPECT_EQ(r.err, line_path + ":4:1: " +
                       (typo ? std::string("error: keyword '") + c.keyword +
                                   "' matches no keyword, and the row is skipped; did you mean '" +
                                   c.suggestion + "'? [keyword-typo]"
                             : std::string("warning: keyword '") + c.keyword +
                                   "' matches no keyword: the row is skipped [unknown-keyword]") +
                       "\n    " + row + "\n    ^\n" +
                       (typo ? "1 error, 0 warnings\n" : "0 errors, 1 warning\n"));
}

void PrintTo(const typo_case& c, std::ostream* os) {
  *os << c.name;
}

INSTANTIATE_TEST_SUITE_P(Edits, KeywordSuggestion,
                         testing::Values(typo_case{"TwoLettersLeftOut", "pndnza", "pendenza"},
                                         typo_case{"TwoLettersChanged", "pandenzo", "pendenza"},
                                         typo_case{"ThreeLettersLeftOut", "pndnz", ""},
                                         typo_case{"ThreeLettersChanged", "pandanzo", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
