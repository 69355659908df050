#include "platform/replace_file.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/temp_folder.h"

namespace {

TEST(ReplaceFile, StreamedPiecesMakeTheWholeFile) {
  testing_support::temp_folder folder;
  platform::replace_file(folder / "f.dat", std::string(300, 'x'));
  platform::replace_file(folder / "f.dat", [](const platform::byte_sink& sink) {
    sink("ab");
    sink("");
    sink("cd");
  });
  EXPECT_EQ(folder.read("f.dat"), "abcd");
  EXPECT_EQ(folder.names(), std::set<std::string>{"f.dat"});
}

TEST(ReplaceFile, AProducerThatFailsLeavesTheOldFileAndNoTemporary) {
  testing_support::temp_folder folder;
  platform::replace_file(folder / "f.dat", "old bytes");
  EXPECT_THROW(platform::replace_file(folder / "f.dat",
                                      [](const platform::byte_sink& sink) {
                                        sink("half of the new");
                                        throw std::out_of_range("element outside the plan");
                                      }),
               std::out_of_range);
  EXPECT_EQ(folder.read("f.dat"), "old bytes");
  EXPECT_EQ(folder.names(), std::set<std::string>{"f.dat"});
}

TEST(ReplaceFile, AMissingFolderIsAFailureNamingTheFile) {
  testing_support::temp_folder folder;
  try {
    platform::replace_file(folder / "missing" / "f.dat", "x");
    FAIL();
  } catch (const platform::file_error& e) {
    const std::string name = (std::filesystem::path("missing") / "f.dat").string();
    EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
  }
}

}  // namespace
