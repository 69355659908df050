#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/replace_file.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::temp_folder;

const std::string loose = "[generale]\r\nvelocita,0,100\r\nvelocita, 650,  5\r\n[fine]\r\n";
const std::string aligned = "[generale]\r\nvelocita,   0, 100\r\nvelocita, 650,   5\r\n[fine]\r\n";

TEST(FmtCommand, CheckNamesTheTextsThatWouldChangeAndWritesNothing) {
  temp_folder folder;
  platform::replace_file(folder / "R_1-.txt", loose);
  platform::replace_file(folder / "S_1-.txt", aligned);

  const auto result =
      run_tool({"fmt", "--check", (folder / "R_1-.txt").string(), (folder / "S_1-.txt").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, (folder / "R_1-.txt").string() + "\n");
  EXPECT_EQ(folder.read("R_1-.txt"), loose);
  EXPECT_EQ(folder.names(), (std::set<std::string>{"R_1-.txt", "S_1-.txt"}));

  EXPECT_EQ(run_tool({"fmt", "--check", (folder / "S_1-.txt").string()}).status, 0);
}

TEST(FmtCommand, RewritesTheTextsInPlaceAndAFolderStandsForItsTwoTexts) {
  temp_folder work;
  ASSERT_EQ(run_tool({"example", work.path().string()}).status, 0);
  const std::filesystem::path scenario = work.path();
  std::vector<std::filesystem::path> texts;
  for (const auto& entry : std::filesystem::directory_iterator(scenario)) {
    const std::string name = entry.path().filename().string();
    if (name.ends_with("_linea.txt") || name.ends_with("-.txt")) texts.push_back(entry.path());
  }
  ASSERT_EQ(texts.size(), 2u);

  const auto check = run_tool({"fmt", "--check", scenario.string()});
  EXPECT_EQ(check.status, 1);  // the shipped texts are aligned loosely
  const auto result = run_tool({"fmt", scenario.string()});
  EXPECT_EQ(result.status, 0) << result.err;
  for (const auto& text : texts) {
    EXPECT_NE(result.out.find("formatted " + text.string()), std::string::npos) << result.out;
  }
  EXPECT_EQ(run_tool({"fmt", "--check", scenario.string()}).status, 0);
  // Nothing is left beside the texts but what was there.
  for (const auto& entry : std::filesystem::directory_iterator(scenario)) {
    EXPECT_EQ(entry.path().extension().string().find("tmp"), std::string::npos) << entry.path();
  }
}

TEST(FmtCommand, AnInputThatCannotBeReadFailsAndTheOthersAreStillFormatted) {
  temp_folder folder;
  platform::replace_file(folder / "R_1-.txt", loose);
  std::filesystem::create_directory(folder / "not_a_scenario");

  const auto result =
      run_tool({"fmt", (folder / "missing.txt").string(), (folder / "not_a_scenario").string(),
                (folder / "R_1-.txt").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("missing.txt"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("scenario.toml"), std::string::npos) << result.err;
  EXPECT_EQ(folder.read("R_1-.txt"), aligned);
}

}  // namespace
