// The installer's durable replacement, seen from outside through the fault
// library: a flush of a file's data or of the folder that fails stops the run
// with one line naming the file, leaves every file whole and no temporary
// behind; and a clean run flushes each file's data before renaming it over the
// old one, and the folder after the last rename.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "installer_process.h"

namespace {

using namespace testing_support;

std::vector<std::string> lasting_names() {
  std::vector<std::string> names = document_names;
  names.insert(names.end(), compiled_names.begin(), compiled_names.end());
  return names;
}

void expect_no_temporary(const temp_folder& folder) {
  for (const std::string& name : folder.names()) {
    EXPECT_FALSE(name.ends_with(".tmp")) << "left " << name;
  }
}

void expect_one_line_naming(const process_result& run, const temp_folder& folder,
                            const std::string& action, const std::string& name) {
  EXPECT_EQ(run.status, 1) << run.errors;
  const std::string report = report_of(run);
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
  // The installer names the file through the folder it runs from, which may
  // be spelt differently (a link in the temporary folder's path): the line
  // is checked from the file's own name on.
  const std::string ending = name + ": Input/output error\n";
  EXPECT_EQ(report.rfind("cannot " + action + " ", 0), 0u) << report;
  EXPECT_TRUE(report.ends_with("/" + ending)) << report;
  EXPECT_NE(report.find(folder.path().filename().string()), std::string::npos) << report;
}

process_result run_with_fault(const temp_folder& folder, const std::string& file,
                              const std::string& call) {
  temp_folder outside;
  process_options options;
  options.preload_fault_shim = true;
  options.env = {{"FAULT_FILE", file}, {"FAULT_CALL", call}, {"FAULT_ERRNO", std::to_string(EIO)}};
  return run_installer_process(folder, outside, options);
}

TEST(DurableReplacement, AFailedDataFlushStopsTheRunAndKeepsTheOldFile) {
  // The first document, the plan (written piece by piece) and the last file.
  for (const std::string& name :
       {document_names[0], compiled_names[0], std::string("Brisena_Tarvo_47306.dat")}) {
    SCOPED_TRACE(name);
    temp_folder folder;
    install_good_files(folder);
    const std::string old_bytes = "an earlier installation's " + name + "\r\n";
    platform::replace_file(folder / name, old_bytes);

    const process_result run = run_with_fault(folder, name, "data_flush");

    expect_one_line_naming(run, folder, "write", name);
    EXPECT_EQ(folder.read(name), old_bytes);
    expect_no_temporary(folder);
    // The files replaced before it are whole: the earlier installation's or
    // this run's, which are the same bytes.
    for (const auto& [other, bytes] : good_files()) {
      if (other != name) {
        EXPECT_TRUE(folder.read(other) == bytes) << other;
      }
    }
  }
}

TEST(DurableReplacement, AFailedFolderFlushAfterTheLastRenameStopsTheRun) {
  // The folder flush comes after the rename, so the new file already stands
  // at the name: the run must not report success for a replacement that may
  // not survive a power cut, nor say that the file could not be replaced.
  temp_folder folder;
  const std::string last = compiled_names.back();
  const process_result run = run_with_fault(folder, last, "folder_flush");

  expect_one_line_naming(run, folder, "flush to the disk the folder entry of", last);
  for (const auto& [name, bytes] : good_files()) {
    ASSERT_TRUE(folder.names().contains(name)) << name;
    EXPECT_TRUE(folder.read(name) == bytes) << name << " is not whole";
  }
  expect_no_temporary(folder);
}

struct logged_call {
  std::string call;
  std::string a;
  std::string b;
};

std::vector<logged_call> clean_run_log() {
  temp_folder folder, outside;
  install_good_files(folder);
  process_options options;
  options.preload_fault_shim = true;
  options.env = {{"FAULT_LOG", (outside / "calls.log").string()}};
  const process_result run = run_installer_process(folder, outside, options);
  EXPECT_EQ(run.status, 0) << run.errors;
  std::vector<logged_call> calls;
  std::istringstream lines(outside.read("calls.log"));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    logged_call c;
    fields >> c.call >> c.a >> c.b;
    calls.push_back(c);
  }
  return calls;
}

TEST(DurableReplacement, EachFilesDataIsFlushedBeforeItsRenameAndTheFolderAfterTheLast) {
  const std::vector<logged_call> calls = clean_run_log();
  std::size_t last_rename = 0;
  for (const std::string& name : lasting_names()) {
    SCOPED_TRACE(name);
    const auto rename = std::find_if(calls.begin(), calls.end(), [&](const logged_call& c) {
      return c.call == "rename" && c.b == name;
    });
    ASSERT_NE(rename, calls.end()) << "never renamed into place";
    EXPECT_TRUE(rename->a.starts_with(name + ".") && rename->a.ends_with(".tmp")) << rename->a;
    const auto flush = std::find_if(calls.begin(), rename, [&](const logged_call& c) {
      return c.call == "data_flush" && c.a == rename->a;
    });
    EXPECT_NE(flush, rename) << "its temporary's data is not flushed before the rename";
    last_rename = std::max(last_rename, static_cast<std::size_t>(rename - calls.begin()));
  }
  const auto folder_flush =
      std::find_if(calls.begin() + static_cast<std::ptrdiff_t>(last_rename), calls.end(),
                   [](const logged_call& c) { return c.call == "folder_flush"; });
  EXPECT_NE(folder_flush, calls.end()) << "the folder is not flushed after the last rename";
}

TEST(DurableReplacement, ACleanRunFlushesEachLastingFileOnceAndTheFolderOnce) {
  // Six files stay and must survive a power cut: each one's data is flushed
  // once, and one flush of the folder after the last rename covers them all.
  // The two description texts are read back and deleted by the run itself:
  // they are never flushed.
  const std::vector<logged_call> calls = clean_run_log();
  const auto count = [&](const std::string& call) {
    return std::count_if(calls.begin(), calls.end(),
                         [&](const logged_call& c) { return c.call == call; });
  };
  // That each of the six is flushed before its rename is checked above.
  EXPECT_LE(count("data_flush"), 6);
  EXPECT_LE(count("folder_flush"), 2);
  for (const std::string& name : text_names) {
    for (const logged_call& c : calls) {
      EXPECT_FALSE(c.call == "data_flush" && c.a.starts_with(name)) << name << " is flushed";
    }
  }
}

}  // namespace
