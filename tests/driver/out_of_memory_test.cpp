// Memory that runs out at any one allocation of a run: the run ends with the
// good files, or stops with one line saying so and leaves the good files of
// an earlier installation as they were. It never compiles a half-read
// scenario over them.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "driver/run_installer.h"
#include "support/failing_allocator.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace {

using namespace testing_support;

const std::vector<std::string> installed = {"Brisena_Tarvo_linea.dat",
                                            "Brisena_Tarvo_47306.sim",
                                            "Brisena_Tarvo_47306.dat",
                                            "Brisena_Tarvo_47306_note.txt",
                                            "Brisena_Tarvo_47306_rallentamenti.txt",
                                            "Brisena_Tarvo_47306_scheda_treno.txt"};

TEST(OutOfMemory, AnyOneFailedAllocationEndsWithTheGoodFilesOrOneLineSayingSo) {
  // A clean run, counted: how many allocations it makes, and which of them
  // the reader makes (between its asking for the line text's name and route
  // assembly's asking for the first compiled file's).
  temp_folder clean;
  fake_platform counting(clean.path().string());
  std::vector<std::int64_t> at_query;
  counting.on_folder_query = [&] { at_query.push_back(allocations_counted()); };
  arm_allocation_failure(0);
  const int clean_status = driver::run_installer(counting);
  const std::int64_t total = allocations_counted();
  disarm_allocation_failure();
  ASSERT_EQ(clean_status, 0);
  // lock, five texts and documents, the reader's two texts, three compiled files
  ASSERT_EQ(at_query.size(), 11u);
  const std::int64_t reader_begin = at_query[6];
  const std::int64_t reader_end = at_query[8];
  std::map<std::string, std::string> good;
  for (const auto& name : installed) good[name] = clean.read(name);

  // Every allocation the reader makes, and a spread of the others.
  std::vector<std::int64_t> points;
  for (std::int64_t n = 1; n <= total; ++n) {
    if ((n > reader_begin && n <= reader_end) || n % 7 == 0 || n == total) points.push_back(n);
  }
  int stopped = 0;
  for (const std::int64_t n : points) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(total));
    temp_folder folder;
    for (const auto& [name, bytes] : good) platform::replace_file(folder / name, bytes);
    fake_platform platform(folder.path().string());
    arm_allocation_failure(n);
    const int status = driver::run_installer(platform);
    disarm_allocation_failure();

    std::set<std::string> allowed(installed.begin(), installed.end());
    allowed.insert("scenari.lock");
    if (status == 0) {
      EXPECT_TRUE(platform.failures.empty());
    } else {
      ++stopped;
      EXPECT_EQ(status, 1);
      EXPECT_EQ(platform.failures, std::vector<std::string>{"out of memory"});
    }
    // Wherever it stopped, the run leaves none of the texts it wrote.
    for (const auto& [name, bytes] : good) {
      EXPECT_TRUE(folder.read(name) == bytes) << name << " is not the good file";
    }
    for (const auto& name : folder.names()) EXPECT_TRUE(allowed.contains(name)) << "left " << name;
    if (HasFailure()) break;
  }
  // Most failed allocations stop the run; a few are absorbed (a sort that
  // falls back to working in place).
  EXPECT_GT(stopped, static_cast<int>(points.size()) / 2);
}

TEST(OutOfMemory, AFailedAllocationOnceTheLastFileIsInPlaceDoesNotFailTheRun) {
  temp_folder clean;
  fake_platform counting(clean.path().string());
  std::vector<std::int64_t> at_query;
  counting.on_folder_query = [&] { at_query.push_back(allocations_counted()); };
  arm_allocation_failure(0);
  ASSERT_EQ(driver::run_installer(counting), 0);
  const std::int64_t total = allocations_counted();
  disarm_allocation_failure();
  ASSERT_EQ(at_query.size(), 11u);
  std::map<std::string, std::string> good;
  for (const auto& name : installed) good[name] = clean.read(name);

  // Every allocation from the asking of the last file's name to the end, in
  // a folder that holds nothing before the run: once the six files are all
  // there, the installation is done, whatever fails after.
  int done = 0;
  for (std::int64_t n = at_query[10] + 1; n <= total; ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(total));
    temp_folder folder;
    fake_platform platform(folder.path().string());
    arm_allocation_failure(n);
    const int status = driver::run_installer(platform);
    disarm_allocation_failure();

    bool all_in_place = true;
    for (const auto& [name, bytes] : good) {
      all_in_place =
          all_in_place && std::filesystem::exists(folder / name) && folder.read(name) == bytes;
    }
    if (!all_in_place) {
      EXPECT_EQ(status, 1);
      continue;
    }
    ++done;
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(platform.failures.empty()) << platform.failures[0];
    EXPECT_EQ(folder.names(),
              (std::set<std::string>{"scenari.lock", installed[0], installed[1], installed[2],
                                     installed[3], installed[4], installed[5]}));
  }
  // The failing allocation came after the last rename at least once.
  EXPECT_GT(done, 0);
}

}  // namespace
