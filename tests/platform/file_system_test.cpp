// The file primitives as every platform has them: exclusive creation,
// temporaries that leave nothing behind, reading a whole file, the folder lock.
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>

#include "platform/replace_file.h"
#include "support/temp_folder.h"

namespace {

using testing_support::temp_folder;

TEST(NewFile, IsCreatedOnlyWhereNothingStands) {
  temp_folder folder;
  platform::replace_file(folder / "taken", "someone else's");
  EXPECT_EQ(platform::new_file::create(folder / "taken", folder / "f.dat"), nullptr);
  EXPECT_EQ(folder.read("taken"), "someone else's");

  auto created = platform::new_file::create(folder / "free", folder / "f.dat");
  ASSERT_NE(created, nullptr);
  created->write("new");
  created->flush_and_close();
  EXPECT_EQ(folder.read("free"), "new");
}

TEST(TemporaryName, IsBesideTheFileAndNeverTheSameTwice) {
  const std::filesystem::path file = std::filesystem::path("folder") / "f.dat";
  std::set<std::filesystem::path> names;
  for (int i = 0; i < 1000; ++i) {
    const std::filesystem::path name = platform::temporary_name(file);
    EXPECT_EQ(name.parent_path(), file.parent_path());
    EXPECT_EQ(name.filename().string().rfind("f.dat.", 0), 0u) << name;
    EXPECT_EQ(name.extension(), ".tmp");
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 1000u);
}

TEST(ReplaceFile, AFailureOfTheWriteNamesTheTargetAndLeavesNoTemporary) {
  temp_folder folder;
  platform::replace_file(folder / "f.dat", "old bytes");
  try {
    platform::replace_file(folder / "f.dat", [](const platform::byte_sink& sink) {
      sink("part");
      throw platform::file_error("elsewhere", "write", "No space left on device");
    });
    FAIL() << "no failure";
  } catch (const platform::file_error& failure) {
    EXPECT_EQ(failure.file(), "elsewhere");
  }
  EXPECT_EQ(folder.read("f.dat"), "old bytes");
  EXPECT_EQ(folder.names(), std::set<std::string>{"f.dat"});

  // A folder at the target: the message names the target, never a temporary.
  std::filesystem::create_directories(folder / "d.dat" / "x");
  try {
    platform::replace_file(folder / "d.dat", "new");
    FAIL() << "no failure";
  } catch (const platform::file_error& failure) {
    EXPECT_EQ(failure.file(), folder / "d.dat");
    EXPECT_EQ(std::string(failure.what()).find(".tmp"), std::string::npos) << failure.what();
  }
  EXPECT_EQ(folder.names(), (std::set<std::string>{"f.dat", "d.dat"}));
}

TEST(ReadFile, AMissingFileIsToldApartFromOtherFailures) {
  temp_folder folder;
  try {
    platform::read_file(folder / "absent.txt");
    FAIL() << "no failure";
  } catch (const platform::file_error& failure) {
    EXPECT_TRUE(failure.missing());
  }
  std::filesystem::create_directories(folder / "a folder.txt");
  try {
    platform::read_file(folder / "a folder.txt");
    FAIL() << "no failure";
  } catch (const platform::file_error& failure) {
    EXPECT_FALSE(failure.missing()) << failure.what();
  }
}

TEST(FolderLock, ASecondHolderWaitsTheGivenTimeThenIsToldTheFolderIsBusy) {
  temp_folder folder;
  const auto lock_file = folder / "scenari.lock";
  {
    const platform::folder_lock first = platform::lock_folder(lock_file, std::chrono::seconds(0));
    const auto start = std::chrono::steady_clock::now();
    try {
      platform::lock_folder(lock_file, std::chrono::milliseconds(300));
      FAIL() << "a second lock was granted";
    } catch (const platform::folder_busy& busy) {
      EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
      EXPECT_EQ(std::string(busy.what()), "another installation is running in " +
                                              folder.path().string() +
                                              ": waited 300 milliseconds for it to end");
    }
  }
  // Let go with its holder; the lock file stays, empty and harmless.
  EXPECT_NO_THROW(platform::lock_folder(lock_file, std::chrono::seconds(0)));
  EXPECT_EQ(folder.read("scenari.lock"), "");
}

}  // namespace
