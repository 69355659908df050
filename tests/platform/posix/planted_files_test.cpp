// Links, pipes and devices standing where the installer creates, reads or
// locks a file: never followed, never opened, never waited on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>

#include "platform/file_system.h"
#include "platform/replace_file.h"
#include "support/temp_folder.h"

namespace {

using testing_support::temp_folder;

struct planted {
  std::string name;
  bool is_a_readable_file;  // a link to a regular file is read through
  std::function<void(const temp_folder& folder, const std::filesystem::path& at)> plant;
};

// What may stand at a name: a link to a file outside the folder, a dangling
// link, a link to a device, a pipe.
const planted planted_kinds[] = {
    {"LinkToAFileOutside", true,
     [](const temp_folder& outside, const std::filesystem::path& at) {
       std::filesystem::create_symlink(outside / "victim", at);
     }},
    {"DanglingLink", false,
     [](const temp_folder& outside, const std::filesystem::path& at) {
       std::filesystem::create_symlink(outside / "nothing here", at);
     }},
    {"LinkToADevice", false,
     [](const temp_folder&, const std::filesystem::path& at) {
       std::filesystem::create_symlink("/dev/null", at);
     }},
    {"Pipe", false,
     [](const temp_folder&, const std::filesystem::path& at) {
       ASSERT_EQ(::mkfifo(at.c_str(), 0644), 0);
     }},
};

class Planted : public ::testing::TestWithParam<planted> {
 protected:
  temp_folder folder, outside;
  std::filesystem::path at = folder / "name";
  void SetUp() override {
    platform::replace_file(outside / "victim", "outside the folder");
    GetParam().plant(outside, at);
  }
  void TearDown() override {
    EXPECT_EQ(outside.read("victim"), "outside the folder");
    EXPECT_FALSE(std::filesystem::exists(outside / "nothing here"));
  }
};

TEST_P(Planted, IsNeverTakenForANewFile) {
  EXPECT_EQ(platform::new_file::create(at, folder / "f.dat"), nullptr);
}

TEST_P(Planted, IsReadOnlyWhenItLeadsToAFileAndNeverWaitedOn) {
  const auto start = std::chrono::steady_clock::now();
  if (GetParam().is_a_readable_file) {
    EXPECT_EQ(platform::read_whole_file(at), "outside the folder");
  } else {
    EXPECT_THROW(platform::read_whole_file(at), platform::file_error);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_P(Planted, IsRefusedAsTheLockFile) {
  EXPECT_THROW(platform::lock_folder(at, std::chrono::seconds(0)), platform::file_error);
}

TEST_P(Planted, IsReplacedByTheNewFileWithoutBeingFollowed) {
  platform::replace_file(at, "new bytes");
  EXPECT_FALSE(std::filesystem::is_symlink(at));
  EXPECT_EQ(platform::read_file(at), "new bytes");
}

INSTANTIATE_TEST_SUITE_P(Kinds, Planted, ::testing::ValuesIn(planted_kinds),
                         [](const auto& info) { return info.param.name; });

TEST(PlantedInABurst, ATakenTemporaryNameIsNeverOpenedAndTheBatchDrawsNewDigits) {
  // Something planted at the name the next staged file's temporary would
  // take (the batch's digits): the batch draws new digits for every file it
  // has staged, the planted file is left as it was, and the burst puts both
  // files in place.
  temp_folder folder, outside;
  platform::replace_file(outside / "victim", "not to be touched");
  for (const planted& kind : planted_kinds) {
    SCOPED_TRACE(kind.name);
    platform::folder_flush_batch batch;
    platform::replace_file(folder / "a.txt", "first");
    const std::filesystem::path taken = folder / ("b.txt" + batch.temporary_suffix());
    kind.plant(outside, taken);
    platform::replace_file(folder / "b.txt", "second");
    EXPECT_NE("b.txt" + batch.temporary_suffix(), taken.filename().string());
    batch.flush();
    EXPECT_EQ(folder.read("a.txt"), "first");
    EXPECT_EQ(folder.read("b.txt"), "second");
    EXPECT_TRUE(std::filesystem::is_symlink(taken) || std::filesystem::exists(taken));
    EXPECT_EQ(outside.read("victim"), "not to be touched");
    std::filesystem::remove(taken);
    for (const std::string& name : folder.names()) {
      EXPECT_TRUE(name == "a.txt" || name == "b.txt") << "left " << name;
    }
  }
}

}  // namespace
