// Where compile puts the compiled files, and the one line that says so.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::temp_folder;

// A scenario folder without --out: its files go into DIR/compiled, beside the
// texts and never among them, and the line names the three and the folder.
TEST(CompiledFolder, AScenarioFolderWithoutOutWritesIntoItsCompiledFolder) {
  const temp_folder folder;
  const std::filesystem::path dir = folder / "Val";
  ASSERT_EQ(run_tool({"new", dir.string(), "--route", "Val", "--train", "7"}).status, 0);
  const auto before = std::filesystem::current_path();

  const auto result = run_tool({"compile", dir.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "wrote Val_linea.dat, Val_7.sim and Val_7.dat into " +
                            (dir / "compiled").string() + "\n");
  for (const char* name : {"Val_linea.dat", "Val_7.sim", "Val_7.dat"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "compiled" / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(dir / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(before / name)) << name;
  }
}

// --out still decides; --no-plan writes two files, and the line names two.
TEST(CompiledFolder, TheLineNamesTheFilesWrittenAndTheFolderGiven) {
  const temp_folder folder;
  const std::filesystem::path dir = folder / "Val";
  ASSERT_EQ(run_tool({"new", dir.string(), "--route", "Val", "--train", "7"}).status, 0);
  const std::string out = (folder / "elsewhere").string();

  const auto result = run_tool({"compile", dir.string(), "--out", out, "--no-plan"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "wrote Val_7.sim and Val_7.dat into " + out + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "compiled"));
}

// A run that writes nothing says nothing of files; --json lists them instead.
TEST(CompiledFolder, NoLineWhenNothingIsWrittenOrUnderJson) {
  const temp_folder folder;
  const std::filesystem::path dir = folder / "Val";
  ASSERT_EQ(run_tool({"new", dir.string(), "--route", "Val", "--train", "7"}).status, 0);

  const auto json = run_tool({"compile", dir.string(), "--json"});
  EXPECT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(json.out.find("wrote "), std::string::npos) << json.out;
  // The files the run wrote, as the JSON lists them (a path's separators are
  // escaped there on Windows).
  const nlohmann::json report = nlohmann::json::parse(json.out, nullptr, false);
  ASSERT_TRUE(report.contains("files")) << json.out;
  const std::vector<std::string> files = report["files"].get<std::vector<std::string>>();
  EXPECT_NE(std::find(files.begin(), files.end(), (dir / "compiled" / "Val_7.dat").string()),
            files.end())
      << json.out;

  // A folder at one of the files' names: the run stops and writes nothing.
  std::filesystem::remove(dir / "compiled" / "Val_7.sim");
  std::filesystem::create_directories(dir / "compiled" / "Val_7.sim");
  const auto stopped = run_tool({"compile", dir.string()});
  EXPECT_EQ(stopped.status, 1);
  EXPECT_EQ(stopped.out, "");
}

}  // namespace
