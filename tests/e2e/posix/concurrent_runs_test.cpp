// Two installers started at once in one folder, and a run that finds the
// folder's lock held.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "installer_process.h"

namespace {

using namespace testing_support;

const std::string busy_line = "another installation is running in ";

// What a finished run may leave: the complete good files, or a clear refusal
// with the good files of the earlier installation untouched. Never a wrong
// file, never a temporary, never status 0 with anything but the good files.
void expect_good_installation(const temp_folder& folder, const process_result& run,
                              const std::string& trial) {
  if (run.status == 0) {
    EXPECT_EQ(run.errors, "Attendere\n") << trial;
  } else {
    EXPECT_EQ(run.status, 1) << trial << run.errors;
    EXPECT_EQ(report_of(run).rfind(busy_line, 0), 0u) << trial << run.errors;
  }
  const auto contents = folder_contents(folder);
  for (const auto& [name, bytes] : good_files()) {
    ASSERT_TRUE(contents.contains(name)) << trial << name;
    EXPECT_TRUE(contents.at(name) == bytes) << trial << name;
  }
  for (const auto& [name, bytes] : contents) {
    EXPECT_TRUE(good_files().contains(name) || name == installer_name || name == lock_name)
        << trial << " left " << name;
  }
}

TEST(ConcurrentRuns, TwoRunsAtOnceEachEndWithTheGoodFilesOrARefusal) {
  temp_folder folder, outside;
  install_good_files(folder);
  // The second run starts at several moments within the first one's work,
  // once with the first to start and once the other way round.
  const int delays_us[] = {0, 0, 200, 500, 1000, 2000, 5000, 10000, 20000, 40000};
  int trial_number = 0;
  for (const int delay : delays_us) {
    for (int order = 0; order < 2; ++order) {
      const std::string trial = "trial " + std::to_string(trial_number++) + " delay " +
                                std::to_string(delay) + "us order " + std::to_string(order) + ": ";
      const std::filesystem::path first_errors = outside / ("first" + std::to_string(order));
      const std::filesystem::path second_errors = outside / ("second" + std::to_string(order));
      installer_process first(folder.path(), order == 0 ? first_errors : second_errors);
      std::this_thread::sleep_for(std::chrono::microseconds(delay));
      installer_process second(folder.path(), order == 0 ? second_errors : first_errors);
      const process_result a = first.wait();
      const process_result b = second.wait();
      expect_good_installation(folder, a, trial);
      expect_good_installation(folder, b, trial);
    }
  }
}

TEST(ConcurrentRuns, ARunThatFindsTheFolderLockedWaitsTheStatedTimeThenStopsTouchingNothing) {
  temp_folder folder, outside;
  install_good_files(folder);
  // Another installation holds the folder's lock for the whole run.
  const int holder = ::open((folder / lock_name).c_str(), O_RDWR | O_CREAT, 0644);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  const auto before = folder_contents(folder);

  const auto start = std::chrono::steady_clock::now();
  const process_result run = run_installer_process(folder, outside);
  const auto waited = std::chrono::steady_clock::now() - start;
  ::close(holder);

  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(report_of(run),
            busy_line + folder.path().string() + ": waited 10 seconds for it to end\n");
  EXPECT_GE(waited, std::chrono::seconds(10));
  auto after = folder_contents(folder);
  after.erase(installer_name);
  EXPECT_EQ(after, before);

  // Once the other installation has ended, a run goes through.
  const process_result next = run_installer_process(folder, outside);
  EXPECT_EQ(next.status, 0) << next.errors;
  expect_good_installation(folder, next, "after the lock is let go: ");
}

}  // namespace
