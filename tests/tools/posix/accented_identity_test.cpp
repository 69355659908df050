// An accented identity on Linux, where the command line and file names are
// UTF-8: compile gives the same files, by the same names, whether the
// identity comes from a manifest, from --route and --train or from the texts'
// names.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform/replace_file.h"
#include "support/run_tool.h"
#include "support/temp_folder.h"

namespace {

using testing_support::run_tool;
using testing_support::temp_folder;

std::map<std::string, std::string> files_in(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] = platform::read_file(entry.path());
  }
  return files;
}

TEST(AccentedIdentity, CompilesAlikeFromTheManifestTheCommandLineAndTheNames) {
  const std::string route = "Citt\xC3\xA0";  // "Città" in UTF-8
  temp_folder folder;
  ASSERT_EQ(run_tool({"new", folder.path().string(), "--route", route, "--train", "1"}).status, 0);
  const std::filesystem::path line = folder / (route + "_linea.txt");
  const std::filesystem::path train = folder / (route + "_1-.txt");
  ASSERT_TRUE(std::filesystem::exists(line));
  ASSERT_TRUE(std::filesystem::exists(train));

  temp_folder by_manifest, by_options, by_names;
  ASSERT_EQ(
      run_tool({"compile", folder.path().string(), "--out", by_manifest.path().string()}).status,
      0);
  ASSERT_EQ(run_tool({"compile", line.string(), train.string(), "--route", route, "--train", "1",
                      "--out", by_options.path().string()})
                .status,
            0);
  ASSERT_EQ(run_tool({"compile", line.string(), train.string(), "--out", by_names.path().string()})
                .status,
            0);

  const auto expected = files_in(by_manifest.path());
  EXPECT_TRUE(expected.contains(route + "_linea.dat"));
  EXPECT_TRUE(expected.contains(route + "_1.dat"));
  EXPECT_EQ(files_in(by_options.path()), expected);
  EXPECT_EQ(files_in(by_names.path()), expected);
  // The station file names the route in Windows-1252: a grave is the one byte 0xE0.
  const std::string stations = expected.at(route + "_1.sim");
  EXPECT_NE(stations.find("Citt\xE0"), std::string::npos);
  EXPECT_EQ(stations.find("Citt\xC3\xA0"), std::string::npos);
}

TEST(AccentedIdentity, ACharacterWindows1252LacksIsRefused) {
  temp_folder folder;
  platform::replace_file(folder / "R_linea.txt", "[generale]\r\n");
  platform::replace_file(folder / "R_1-.txt", "[generale]\r\n");
  const auto result =
      run_tool({"compile", (folder / "R_linea.txt").string(), (folder / "R_1-.txt").string(),
                "--route", "\xE2\x82\xAC\xE2\x86\x92", "--out", (folder / "out").string()});
  EXPECT_EQ(result.status, 2) << result.err;
  EXPECT_NE(result.err.find("Windows-1252"), std::string::npos) << result.err;
  EXPECT_FALSE(std::filesystem::exists(folder / "out"));
}

// The plain-name check a manifest's identity passes holds for --route, --train
// and names taken from the texts' names too.
TEST(AccentedIdentity, ADeviceNameIsRefusedHoweverTheIdentityIsGiven) {
  temp_folder folder;
  for (const char* name : {"R_linea.txt", "R_1-.txt", "COM1_linea.txt", "COM1_1-.txt"}) {
    platform::replace_file(folder / name, "[generale]\r\n");
  }
  const std::string out = (folder / "out").string();
  const auto by_option = run_tool({"compile", (folder / "R_linea.txt").string(),
                                   (folder / "R_1-.txt").string(), "--train", "con", "--out", out});
  EXPECT_EQ(by_option.status, 2);
  EXPECT_NE(by_option.err.find("the train number \"con\" is \"con\", a device name"),
            std::string::npos)
      << by_option.err;
  const auto by_names = run_tool({"compile", (folder / "COM1_linea.txt").string(),
                                  (folder / "COM1_1-.txt").string(), "--out", out});
  EXPECT_EQ(by_names.status, 2);
  EXPECT_NE(by_names.err.find("the route identifier \"COM1\""), std::string::npos) << by_names.err;
  EXPECT_FALSE(std::filesystem::exists(folder / "out"));
}

}  // namespace
