// What compile leaves in its output folder: always a set of compiled files
// that belong together.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tools/compile/compile_texts.h"

namespace {

using namespace compile_texts;

TEST(ToolCompileOutputs, NoPlanRemovesAnOlderPlanAndSaysSo) {
  const texts_in_folder texts(crlf(small_line), crlf(small_train));
  ASSERT_EQ(texts.compile().status, 0);
  ASSERT_EQ(texts.compiled().size(), 3u);
  ASSERT_TRUE(texts.compiled().contains("R_linea.dat"));

  const tool_result without = texts.compile({"--no-plan"});
  EXPECT_EQ(without.status, 0);
  const std::map<std::string, std::string> files = texts.compiled();
  EXPECT_EQ(files.size(), 2u);
  EXPECT_FALSE(files.contains("R_linea.dat"));
  const std::string plan = (texts.folder / "out" / "R_linea.dat").string();
  EXPECT_EQ(without.err, "scenario_tool: note: removed the older track plan " + plan +
                             ": with --no-plan no plan is built, and the cells now written would "
                             "not match it\n")
      << without.err;

  // The cells of the two compiles are the same texts' cells.
  const tool_result dump = run_tool({"dump", (texts.folder / "out" / "R_1.dat").string()});
  EXPECT_EQ(dump.out.find("MISMATCH"), std::string::npos) << dump.out;

  // Nothing to remove: nothing said.
  EXPECT_EQ(texts.compile({"--no-plan"}).err, "");
}

TEST(ToolCompileOutputs, AStoppedNoPlanRunKeepsTheOlderSetWhole) {
  const texts_in_folder good(crlf(small_line), crlf(small_train));
  ASSERT_EQ(good.compile().status, 0);
  const std::map<std::string, std::string> before = good.compiled();
  // A sign at 0 m in the header cell stops the run: nothing is written or removed.
  platform::replace_file(good.line_path,
                         crlf({"[generale]", "lunghezza percorso, 1000", "[cartelli]",
                               "cartello_indicatore, 0, STAZIONE", "[fine]"}));
  EXPECT_EQ(good.compile({"--no-plan"}).status, 1);
  EXPECT_EQ(good.compiled(), before);
}

}  // namespace
