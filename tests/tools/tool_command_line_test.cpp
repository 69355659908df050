// The authors' tool's command-line conventions and its example subcommand.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "scenari/scenario_texts.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::tool_result;

std::size_t line_count(const std::string& text) {
  std::size_t lines = 0;
  for (char c : text) lines += c == '\n' ? 1 : 0;
  return lines;
}

TEST(ToolCommandLine, VersionAndHelpGoToStandardOutputWithStatus0) {
  const tool_result version = run_tool({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "scenario_tool 1.0.0\n");
  EXPECT_EQ(version.err, "");

  const tool_result help = run_tool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("example"), std::string::npos);
  EXPECT_NE(help.out.find("Exit status: 0"), std::string::npos);

  const tool_result example_help = run_tool({"example", "--help"});
  EXPECT_EQ(example_help.status, 0);
  EXPECT_NE(example_help.out.find("DIR"), std::string::npos);
}

TEST(ToolCommandLine, UsageErrorsAreOneLineWithStatus2) {
  const std::vector<std::vector<std::string>> cases = {
      {},                     // no subcommand
      {"frobnicate"},         // unknown subcommand
      {"example"},            // missing folder
      {"example", "a", "b"},  // one argument too many
      {"example", "--no-such", "a"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(testing::PrintToString(args));
    const tool_result result = run_tool(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(line_count(result.err), 1u) << result.err;
    EXPECT_EQ(result.err.rfind("scenario_tool", 0), 0u) << result.err;
  }
}

TEST(ToolExample, AFolderThatCannotBeMadeIsStatus1AndOneLine) {
  const testing_support::temp_folder folder;
  platform::replace_file(folder / "blocker", "not a folder");
  const tool_result result = run_tool({"example", (folder / "blocker" / "inside").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(line_count(result.err), 1u) << result.err;
}

}  // namespace
