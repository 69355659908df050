// The Windows file layer's flush of a file's data, made to fail through its
// hook as a failing disk would: the run stops with one line naming the file,
// the earlier installation stays whole and no temporary is left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/run_installer.h"
#include "platform/file_system.h"
#include "platform/replace_file.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace {

const std::vector<std::string> six_names = {"Brisena_Tarvo_47306_note.txt",
                                            "Brisena_Tarvo_47306_rallentamenti.txt",
                                            "Brisena_Tarvo_47306_scheda_treno.txt",
                                            "Brisena_Tarvo_linea.dat",
                                            "Brisena_Tarvo_47306.sim",
                                            "Brisena_Tarvo_47306.dat"};

constexpr unsigned long io_device_error = 1117;  // ERROR_IO_DEVICE
std::filesystem::path failing_file;

unsigned long fail_one_file(const std::filesystem::path& known_as) {
  return known_as.filename() == failing_file.filename() ? io_device_error : 0;
}

std::string earlier_bytes(const std::string& name) {
  return "an earlier installation's " + name + "\r\n";
}

TEST(WindowsDataFlush, AFailedFlushStopsTheRunAndKeepsTheEarlierInstallation) {
  // The first document, the plan (written piece by piece) and the last file.
  for (const std::string& name :
       {six_names[0], std::string("Brisena_Tarvo_linea.dat"), six_names.back()}) {
    SCOPED_TRACE(name);
    testing_support::temp_folder folder;
    for (const std::string& each : six_names) {
      platform::replace_file(folder / each, earlier_bytes(each));
    }
    testing_support::fake_platform platform(folder.path());
    failing_file = name;
    platform::set_data_flush_hook(fail_one_file);
    const int status = driver::run_installer(platform);
    platform::set_data_flush_hook(nullptr);

    EXPECT_EQ(status, 1);
    ASSERT_EQ(platform.failures.size(), 1u);
    const std::string& line = platform.failures[0];
    EXPECT_EQ(line.rfind("cannot write ", 0), 0u) << line;
    EXPECT_NE(line.find(name + ": "), std::string::npos) << line;
    for (const std::string& each : six_names) {
      EXPECT_EQ(folder.read(each), earlier_bytes(each)) << each;
    }
    for (const std::string& left : folder.names()) {
      EXPECT_FALSE(left.ends_with(".tmp")) << "left " << left;
    }
  }
}

TEST(WindowsDataFlush, EachFileIsFlushedOnceInACleanRun) {
  // The hook sees every flush: the six files that stay, each once; the two
  // description texts, read back and deleted by the run, never.
  static std::vector<std::string> flushed;
  flushed.clear();
  testing_support::temp_folder folder;
  testing_support::fake_platform platform(folder.path());
  platform::set_data_flush_hook([](const std::filesystem::path& known_as) -> unsigned long {
    flushed.push_back(known_as.filename().string());
    return 0;
  });
  const int status = driver::run_installer(platform);
  platform::set_data_flush_hook(nullptr);

  EXPECT_EQ(status, 0);
  std::vector<std::string> expected = six_names;
  std::sort(expected.begin(), expected.end());
  std::sort(flushed.begin(), flushed.end());
  EXPECT_EQ(flushed, expected);
}

}  // namespace
