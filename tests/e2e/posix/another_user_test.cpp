// The installer run by another user than the one whose run came before it,
// in a folder shared by several users, and in a folder its user may write
// but not list. Switching users needs root, as CI runs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "installer_process.h"

namespace {

using namespace testing_support;

// The unprivileged user "nobody".
constexpr long other_user = 65534;

// A clean run: no line but the wait message, and the six good files in the
// folder, owned by the user who ran it.
void expect_clean_run_by(const temp_folder& folder, const process_result& run, long user) {
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "Attendere\n");
  for (const auto& [name, bytes] : good_files()) {
    struct stat info {};
    ASSERT_EQ(::lstat((folder / name).c_str(), &info), 0) << name;
    EXPECT_EQ(static_cast<long>(info.st_uid), user) << name;
    EXPECT_TRUE(folder.read(name) == bytes) << name << " is not the good file";
  }
  for (const auto& name : folder.names()) {
    EXPECT_TRUE(good_files().contains(name) || name == installer_name || name == lock_name)
        << "left " << name;
  }
}

TEST(AnotherUser, TakesTheLockThatARunOfAnotherUserLeftBehind) {
  if (::geteuid() != 0) GTEST_SKIP() << "switching users needs root";
  temp_folder folder, outside;
  // A first run, as root, leaves its lock file behind: readable by everyone,
  // writable by root alone.
  const process_result first = run_installer_process(folder, outside);
  ASSERT_EQ(first.status, 0) << first.errors;
  ASSERT_EQ(::chmod((folder / lock_name).c_str(), 0644), 0);
  // The folder is shared: every user may write in it.
  ASSERT_EQ(::chmod(folder.path().c_str(), 0777), 0);

  process_options options;
  options.user = other_user;
  const process_result run = run_installer_process(folder, outside, options);

  expect_clean_run_by(folder, run, other_user);
}

TEST(AnotherUser, InstallsInAFolderItMayWriteButNotList) {
  if (::geteuid() != 0) GTEST_SKIP() << "switching users needs root";
  temp_folder folder, outside;
  // The folder cannot be opened for its flush after a rename: the files are
  // in place all the same, and the run ends as a clean one.
  std::filesystem::copy_file(INSTALLER_PATH, folder / installer_name);
  ASSERT_EQ(::chmod(folder.path().c_str(), 0333), 0);

  process_options options;
  options.user = other_user;
  const process_result run = run_installer_process(folder, outside, options);

  expect_clean_run_by(folder, run, other_user);
}

}  // namespace
