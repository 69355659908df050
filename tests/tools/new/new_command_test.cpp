// new and example: scenario folders that compile, and never over an author's work.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/replace_file.h"
#include "scenari/carried_scenario.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::tool_result;

// The names in a folder in UTF-8, as Linux writes them and Windows shows them.
std::set<std::string> utf8_names(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    const std::u8string name = e.path().filename().u8string();
    names.insert(std::string(name.begin(), name.end()));
  }
  return names;
}

TEST(ToolNew, WritesAMinimalScenarioThatCompilesWithoutAWord) {
  testing_support::temp_folder folder;
  const std::string dir = (folder / "Val").string();
  const tool_result made = run_tool({"new", dir, "--route", "Val_Sesia", "--train", "2\xC3\xA8"});
  ASSERT_EQ(made.status, 0) << made.err;
  // The train number is Windows-1252 in the scenario, UTF-8 in Linux file names.
  const std::set<std::string> expected = {"scenario.toml", "Val_Sesia_linea.txt",
                                          "Val_Sesia_2\xC3\xA8-.txt",
                                          "Val_Sesia_2\xC3\xA8_note.txt"};
  EXPECT_EQ(utf8_names(dir), expected);

  testing_support::temp_folder out;
  const tool_result compiled = run_tool({"compile", dir, "--out", out.path().string(), "--werror"});
  EXPECT_EQ(compiled.status, 0) << compiled.err;
  EXPECT_EQ(compiled.err, "");
  EXPECT_EQ(utf8_names(out.path()),
            (std::set<std::string>{"Val_Sesia_linea.dat", "Val_Sesia_2\xC3\xA8.sim",
                                   "Val_Sesia_2\xC3\xA8.dat"}));
}

TEST(ToolNew, NeverWritesOverFilesUnlessForced) {
  testing_support::temp_folder folder;
  platform::replace_file(folder / "R_linea.txt", "the author's own line");
  const tool_result refused =
      run_tool({"new", folder.path().string(), "--route", "R", "--train", "1"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("R_linea.txt"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
  // Nothing at all was written: neither the manifest nor the other texts.
  EXPECT_EQ(folder.names(), std::set<std::string>{"R_linea.txt"});
  EXPECT_EQ(folder.read("R_linea.txt"), "the author's own line");

  const tool_result forced =
      run_tool({"new", folder.path().string(), "--route", "R", "--train", "1", "--force"});
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_NE(folder.read("R_linea.txt"), "the author's own line");
}

TEST(ToolNew, RefusesAnIdentityThatIsNoFileNameInOneLine) {
  for (const std::vector<std::string>& identity :
       {std::vector<std::string>{"--route", "C:evil", "--train", "1"},
        {"--route", "R", "--train", "CON"},
        {"--route", "R\xE2\x86\x92", "--train", "1"},
        {"--route", "..", "--train", "1"}}) {
    testing_support::temp_folder folder;
    std::vector<std::string> args = {"new", (folder / "x").string()};
    args.insert(args.end(), identity.begin(), identity.end());
    const tool_result result = run_tool(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "x"));
  }
}

TEST(ToolExample, WritesTheShippedScenarioFolderWhichCompilesToTheShippedFiles) {
  testing_support::temp_folder folder;
  const tool_result made = run_tool({"example", folder.path().string()});
  ASSERT_EQ(made.status, 0) << made.err;
  const scenari::carried_scenario shipped = scenari::shipped_scenario();
  EXPECT_EQ(folder.read("Brisena_Tarvo_linea.txt"), shipped.line_text);
  EXPECT_EQ(folder.read("Brisena_Tarvo_47306-.txt"), shipped.train_text);
  EXPECT_EQ(folder.read("Brisena_Tarvo_47306_note.txt"), *shipped.notes);
  EXPECT_EQ(folder.read("Brisena_Tarvo_47306_rallentamenti.txt"), *shipped.slowdown_order);
  EXPECT_EQ(folder.read("Brisena_Tarvo_47306_scheda_treno.txt"), *shipped.train_card);
  EXPECT_EQ(folder.names().size(), 6u);

  testing_support::temp_folder out;
  const tool_result compiled =
      run_tool({"compile", folder.path().string(), "--out", out.path().string()});
  EXPECT_EQ(compiled.status, 0) << compiled.err;
  EXPECT_EQ(out.names().size(), 3u);

  const tool_result again = run_tool({"example", folder.path().string()});
  EXPECT_EQ(again.status, 1);
}

TEST(ToolCompileFolder, AFolderWithoutAManifestOrWithRouteGivenIsRefused) {
  testing_support::temp_folder folder;
  const tool_result none = run_tool({"compile", folder.path().string()});
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("scenario.toml"), std::string::npos) << none.err;

  ASSERT_EQ(run_tool({"example", folder.path().string(), "--force"}).status, 0);
  const tool_result both = run_tool({"compile", folder.path().string(), "--route", "X"});
  EXPECT_EQ(both.status, 2) << both.err;
}

}  // namespace

namespace {

// plan = false in the manifest builds no plan, and an older plan goes with a
// note that says why, as with --no-plan.
TEST(ToolCompileFolder, ThePlanFlagOfTheManifestRemovesAnOlderPlan) {
  testing_support::temp_folder folder;
  const std::string dir = (folder / "Val").string();
  ASSERT_EQ(run_tool({"new", dir, "--route", "Val", "--train", "7"}).status, 0);
  const std::string out = (folder / "out").string();
  ASSERT_EQ(run_tool({"compile", dir, "--out", out}).status, 0);
  ASSERT_TRUE(std::filesystem::exists(folder / "out" / "Val_linea.dat"));

  const std::string manifest = platform::read_file(folder / "Val" / "scenario.toml");
  const std::size_t at = manifest.find("plan = true");
  ASSERT_NE(at, std::string::npos) << manifest;
  platform::replace_file(folder / "Val" / "scenario.toml",
                         manifest.substr(0, at) + "plan = false" + manifest.substr(at + 11));
  const tool_result without = run_tool({"compile", dir, "--out", out});
  EXPECT_EQ(without.status, 0) << without.err;
  EXPECT_FALSE(std::filesystem::exists(folder / "out" / "Val_linea.dat"));
  EXPECT_NE(without.err.find("Val_linea.dat: with plan = false in scenario.toml no plan is built"),
            std::string::npos)
      << without.err;
  EXPECT_TRUE(std::filesystem::exists(folder / "out" / "Val_7.dat"));
}

}  // namespace
