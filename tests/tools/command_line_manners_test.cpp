// The tool's command line: what it says, in its own words, when a command line
// cannot be understood; usage lines, examples and exit statuses in each help;
// the same failures as JSON under --json.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::tool_result;

struct bad_line {
  std::vector<std::string> args;
  std::string said;  // the one line on the error stream, without its line end
};

TEST(ToolCommandLineManners, EachFailureIsOneLineOfTheToolsOwnWords) {
  const std::vector<bad_line> cases = {
      {{"complie", "a", "b"},
       "scenario_tool: unknown subcommand 'complie'; did you mean 'compile'? (the subcommands "
       "are new, example, dump, diff, draw, view, compile, package, explain, fmt and lsp)"},
      {{"frobnicate"},
       "scenario_tool: unknown subcommand 'frobnicate' (the subcommands are new, example, dump, "
       "diff, draw, view, compile, package, explain, fmt and lsp)"},
      {{"compile", "a", "b", "--no-plna"},
       "scenario_tool compile: unknown option '--no-plna'; did you mean '--no-plan'?"},
      {{"dump", "x.dat", "--form", "3"},
       "scenario_tool dump: unknown option '--form'; did you mean '--from'?"},
      {{"dump", "x.dat", "--from", "ten"},
       "scenario_tool dump: --from takes a whole number, not 'ten'"},
      {{"diff", "a.sim", "b.sim", "--kind", "station"},
       "scenario_tool diff: --kind takes plan|stations|cells, not 'station'"},
      {{"package", "--platform", "1", "--out", "x"},
       "scenario_tool package: --platform takes windows|linux, not '1'"},
      {{"example"},
       "scenario_tool example: DIR is missing; usage: scenario_tool example DIR [--force]"},
      {{"dump", "x.dat", "--from"},
       "scenario_tool dump: --from needs a value; usage: scenario_tool dump FILE [--json] "
       "[--from N] [--to N] [--kind plan|stations|cells]"},
      {{"draw", "a", "b", "c", "--svg", "x.svg"},
       "scenario_tool draw: INPUT takes at most 2 values, not 3; usage: scenario_tool draw "
       "[INPUT ...] [--svg SVG] [--html HTML] [--train TRAIN]"},
      {{"draw", "a", "b"},
       "scenario_tool draw: --svg or --html is missing; usage: scenario_tool draw [INPUT ...] "
       "[--svg SVG] [--html HTML] [--train TRAIN]"},
      {{"compile", "a", "b", "c"},
       "scenario_tool compile: it takes a scenario folder or two texts (LINE_TEXT TRAIN_TEXT), "
       "not 3 names; usage: scenario_tool compile [INPUT ...] [--route ROUTE] [--train TRAIN] "
       "[--out OUT] [--no-plan] [--json] [--werror] [-W W]"},
      {{"explain", "segnale", "stazione"},
       "scenario_tool explain: one argument too many ('stazione'); usage: scenario_tool explain "
       "[TOPIC]"},
  };
  for (const bad_line& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const tool_result result = run_tool(c.args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.said + "\n");
  }
  // With no subcommand: the usage line names them all.
  const tool_result none = run_tool({});
  EXPECT_EQ(none.status, 2);
  EXPECT_EQ(
      none.err.rfind("scenario_tool: no subcommand given; usage: scenario_tool SUBCOMMAND", 0), 0u)
      << none.err;
}

TEST(ToolCommandLineManners, EachSubcommandsHelpHasItsUsageAnExampleAndItsExitStatuses) {
  for (const char* command :
       {"new", "example", "dump", "diff", "draw", "view", "compile", "package", "explain"}) {
    SCOPED_TRACE(command);
    const tool_result help = run_tool({command, "--help"});
    EXPECT_EQ(help.status, 0);
    const std::string name = std::string("scenario_tool ") + command;
    EXPECT_NE(help.out.find("Usage: " + name), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("Example: " + name), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("Exit status: 0"), std::string::npos) << help.out;
    // One example and one list of statuses, not a subcommand's own beside the tool's.
    const auto count = [&](const std::string& part) {
      std::size_t n = 0;
      for (auto at = help.out.find(part); at != std::string::npos;
           at = help.out.find(part, at + 1)) {
        ++n;
      }
      return n;
    };
    EXPECT_EQ(count("Example: "), 1u) << help.out;
    EXPECT_EQ(count("Exit status:"), 1u) << help.out;
  }
  const tool_result dump = run_tool({"dump", "--help"});
  EXPECT_NE(dump.out.find("Usage: scenario_tool dump FILE [--json] [--from N] [--to N] [--kind "
                          "plan|stations|cells]"),
            std::string::npos)
      << dump.out;
  // The two systems by name, as an author types them.
  const tool_result package = run_tool({"package", "--help"});
  EXPECT_NE(package.out.find("Usage: scenario_tool package [DIR] --platform windows|linux --out "
                             "OUT [--stub STUB] [--werror] [-W W]\n"),
            std::string::npos)
      << package.out;
}

TEST(ToolCommandLineManners, UnderJsonACommandLineFailureIsAJsonDocumentToo) {
  const tool_result result = run_tool({"compile", "a_linea.txt", "a_1-.txt", "--json", "--bogus"});
  EXPECT_EQ(result.status, 2);
  const nlohmann::json doc = nlohmann::json::parse(result.out);
  EXPECT_EQ(doc["version"], 1);
  EXPECT_EQ(doc["status"], 2);
  EXPECT_EQ(doc["error"]["message"].get<std::string>() + "\n", result.err);
  EXPECT_EQ(result.err.rfind("scenario_tool compile: unknown option '--bogus'", 0), 0u)
      << result.err;

  // A failure the subcommand finds itself, after the parse: names that say no route.
  const testing_support::temp_folder folder;
  platform::replace_file(folder / "line.txt", "[generale]\r\nlunghezza percorso, 1000\r\n");
  platform::replace_file(folder / "train.txt", "[generale]\r\nvelocita, 0, 100\r\n");
  const tool_result unnamed = run_tool(
      {"compile", (folder / "line.txt").string(), (folder / "train.txt").string(), "--json"});
  EXPECT_EQ(unnamed.status, 2);
  const nlohmann::json named = nlohmann::json::parse(unnamed.out);
  EXPECT_EQ(named["status"], 2);
  EXPECT_EQ(named["error"]["message"].get<std::string>() + "\n", unnamed.err);
}

TEST(ToolCommandLineManners, AFailedJobIsOneLineOfTheToolsWordsNotALibrarysText) {
  const testing_support::temp_folder folder;
  platform::replace_file(folder / "blocker", "a file where a folder should be");
  platform::replace_file(folder / "R_linea.txt", "[generale]\r\nlunghezza percorso, 1000\r\n");
  platform::replace_file(folder / "R_1-.txt", "[generale]\r\nvelocita, 0, 100\r\n");
  const std::string under_file = (folder / "blocker" / "inside").string();
  const std::vector<std::vector<std::string>> jobs = {
      {"example", under_file},
      {"compile", (folder / "R_linea.txt").string(), (folder / "R_1-.txt").string(), "--out",
       under_file},
  };
  for (const auto& args : jobs) {
    SCOPED_TRACE(testing::PrintToString(args));
    const tool_result result = run_tool(args);
    EXPECT_EQ(result.status, 1);
    // The path and the system's reason ("Not a directory" here; Windows words it its own
    // way), in a line of the tool's own.
    EXPECT_EQ(result.err.rfind("scenario_tool", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(under_file + ": "), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("filesystem error"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("cannot create directories"), std::string::npos) << result.err;
  }
}

}  // namespace
