// What a stop left unread is counted by row kind, each in words that read well
// with a number before them.
#include <gtest/gtest.h>

#include <string>

#include "platform/replace_file.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

TEST(UnreadRowsNote, CountsEachKindInItsOwnWords) {
  const testing_support::temp_folder folder;
  // The line text has no [generale]: the reading stops there, and the train
  // text is not read at all.
  platform::replace_file(folder / "R_linea.txt",
                         "lunghezza percorso, 5000\r\n[curve]\r\npendenza, 0, 0\r\n[fine]\r\n");
  platform::replace_file(
      folder / "R_1-.txt",
      "[generale]\r\nvelocita, 0, 30\r\nnumero vetture, 4\r\nnumero vetture, 5\r\n"
      "sabbia, 300\r\n[fine]\r\n");
  const testing_support::tool_result result =
      testing_support::run_tool({"compile", (folder / "R_linea.txt").string(),
                                 (folder / "R_1-.txt").string(), "--out", (folder / "o").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("this text was not read at all (1 line speed row, 2 coach count rows, "
                            "1 sand row)\n"),
            std::string::npos)
      << result.err;
}

}  // namespace
