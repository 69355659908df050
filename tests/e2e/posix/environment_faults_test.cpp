// The installer on a failing machine: system calls that fail on one text,
// a file-size limit, an error stream nobody reads, and links and pipes
// planted at the names it uses. Each case ends with a clear line and a
// non-zero status, or with the complete good files; the good files of an
// earlier installation are never replaced by wrong ones.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "installer_process.h"

namespace {

using namespace testing_support;

// The compiled files and documents are byte for byte the good ones, and
// nothing else is left but the program, its lock and `allowed`.
void expect_good_files_kept(const temp_folder& folder, const std::set<std::string>& allowed = {}) {
  const auto contents = folder_contents(folder);
  for (const auto& [name, bytes] : good_files()) {
    ASSERT_TRUE(contents.contains(name)) << name;
    EXPECT_TRUE(contents.at(name) == bytes) << name << " is not the good file";
  }
  for (const auto& [name, bytes] : contents) {
    EXPECT_TRUE(good_files().contains(name) || name == installer_name || name == lock_name ||
                allowed.contains(name))
        << "left " << name;
  }
}

void expect_one_line(const process_result& run, const std::string& names,
                     const std::string& reason) {
  EXPECT_EQ(run.status, 1) << run.errors;
  const std::string report = report_of(run);
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
  EXPECT_NE(report.find(names), std::string::npos) << report;
  EXPECT_NE(report.find(reason), std::string::npos) << report;
  EXPECT_EQ(report.find(".tmp"), std::string::npos) << report;
}

struct syscall_fault {
  std::string name;
  std::string file;
  std::string call;  // "open", "read", "stat" or "data_flush"
  int error;
  std::string reason;  // the system's text for `error`
};

class SystemCallFaults : public ::testing::TestWithParam<syscall_fault> {};

TEST_P(SystemCallFaults, StopTheRunBeforeAnyCompiledFileIsTouched) {
  const syscall_fault& fault = GetParam();
  temp_folder folder, outside;
  install_good_files(folder);
  process_options options;
  options.preload_fault_shim = true;
  options.env = {{"FAULT_FILE", fault.file},
                 {"FAULT_CALL", fault.call},
                 {"FAULT_ERRNO", std::to_string(fault.error)}};
  const process_result run = run_installer_process(folder, outside, options);

  expect_one_line(run, fault.file, fault.reason);
  // The installer's own line, not a library's.
  EXPECT_EQ(report_of(run).rfind("cannot ", 0), 0u) << run.errors;
  // A machine failure is not a fault of the scenario: no error 25.
  EXPECT_EQ(report_of(run).find("error 25"), std::string::npos) << run.errors;
  expect_good_files_kept(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SystemCallFaults,
    ::testing::Values(syscall_fault{"LineTextOpenIoError", "Brisena_Tarvo_linea.txt", "open", EIO,
                                    "Input/output error"},
                      syscall_fault{"LineTextOpenTooManyFiles", "Brisena_Tarvo_linea.txt", "open",
                                    EMFILE, "Too many open files"},
                      syscall_fault{"LineTextOpenNoMemory", "Brisena_Tarvo_linea.txt", "open",
                                    ENOMEM, "Cannot allocate memory"},
                      syscall_fault{"LineTextReadIoError", "Brisena_Tarvo_linea.txt", "read", EIO,
                                    "Input/output error"},
                      syscall_fault{"LineTextStatusIoError", "Brisena_Tarvo_linea.txt", "stat", EIO,
                                    "Input/output error"},
                      syscall_fault{"TrainTextOpenIoError", "Brisena_Tarvo_47306-.txt", "open", EIO,
                                    "Input/output error"},
                      syscall_fault{"TrainTextOpenTooManyFiles", "Brisena_Tarvo_47306-.txt", "open",
                                    EMFILE, "Too many open files"},
                      syscall_fault{"TrainTextReadIoError", "Brisena_Tarvo_47306-.txt", "read", EIO,
                                    "Input/output error"},
                      syscall_fault{"LockOpenIoError", "scenari.lock", "open", EIO,
                                    "Input/output error"},
                      // A full disk at a document written after both texts.
                      syscall_fault{"NotesDataFlushNoSpace", "Brisena_Tarvo_47306_note.txt",
                                    "data_flush", ENOSPC, "No space left on device"}),
    [](const auto& info) { return info.param.name; });

TEST(FileSizeLimit, StopsTheRunWithOneLineNamingTheFileThatIsTooLarge) {
  // Limits that stop the run at each kind of file: the line text, a driver
  // document (20000: the notes, after both texts), the track plan.
  for (const long limit : {100L, 9000L, 20000L, 40000L, 1000000L}) {
    SCOPED_TRACE(limit);
    temp_folder folder, outside;
    install_good_files(folder);
    process_options options;
    options.file_size_limit = limit;
    const process_result run = run_installer_process(folder, outside, options);

    EXPECT_EQ(run.signal, 0) << "killed by signal " << run.signal;
    expect_one_line(run, "Brisena_Tarvo", "File too large");
    // Every good file is kept whole, and the texts the run wrote before the
    // limit stopped it are gone.
    expect_good_files_kept(folder);
  }
}

TEST(ErrorStream, AReaderThatHasGoneDoesNotKillTheRun) {
  temp_folder folder, outside;
  install_good_files(folder);
  process_options options;
  options.broken_error_pipe = true;
  const process_result run = run_installer_process(folder, outside, options);
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.status, 0);
  expect_good_files_kept(folder);
}

// The names a run writes, and the fixed temporary names that earlier
// versions used beside them.
std::vector<std::string> planted_names() {
  std::vector<std::string> names;
  for (const auto* list : {&text_names, &document_names, &compiled_names}) {
    for (const auto& name : *list) {
      names.push_back(name);
      names.push_back(name + ".tmp");
    }
  }
  return names;
}

TEST(PlantedNames, ALinkAtAnyNameIsReplacedNeverFollowed) {
  for (const std::string& name : planted_names()) {
    SCOPED_TRACE(name);
    temp_folder folder, outside;
    install_good_files(folder);
    platform::replace_file(outside / "victim", "outside the folder");
    std::filesystem::remove(folder / name);
    std::filesystem::create_symlink(outside / "victim", folder / name);
    const process_result run = run_installer_process(folder, outside);

    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(outside.read("victim"), "outside the folder");
    // At a name the run writes, the link has made way for the new file.
    if (!name.ends_with(".tmp")) {
      EXPECT_FALSE(std::filesystem::is_symlink(folder / name));
    }
    expect_good_files_kept(folder, {name});
  }
}

TEST(PlantedNames, APipeAtAnyNameNeitherHangsTheRunNorEndsInAWrongFile) {
  for (const std::string& name : planted_names()) {
    SCOPED_TRACE(name);
    temp_folder folder, outside;
    install_good_files(folder);
    std::filesystem::remove(folder / name);
    ASSERT_EQ(::mkfifo((folder / name).c_str(), 0644), 0);
    const process_result run = run_installer_process(folder, outside);

    EXPECT_EQ(run.status, 0) << run.errors;
    expect_good_files_kept(folder, {name});
  }
}

TEST(PlantedNames, ALinkOrPipeAtTheLockStopsTheRunWithOneLine) {
  for (const bool pipe : {false, true}) {
    SCOPED_TRACE(pipe ? "pipe" : "link");
    temp_folder folder, outside;
    install_good_files(folder);
    platform::replace_file(outside / "victim", "outside the folder");
    if (pipe) {
      ASSERT_EQ(::mkfifo((folder / lock_name).c_str(), 0644), 0);
    } else {
      std::filesystem::create_symlink(outside / "victim", folder / lock_name);
    }
    const process_result run = run_installer_process(folder, outside);

    expect_one_line(run, lock_name, pipe ? "not a regular file" : "link");
    EXPECT_EQ(outside.read("victim"), "outside the folder");
    expect_good_files_kept(folder);
  }
}

}  // namespace
