// Runs the built installer as a user would: copied alone into an empty folder,
// started there with no arguments and no standard input.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "platform/replace_file.h"
#include "support/temp_folder.h"

namespace {

struct installer_run {
  int status = -1;
  std::string errors;  // what it printed on the error stream
};

installer_run run_copied_installer(const testing_support::temp_folder& folder,
                                   const testing_support::temp_folder& outside) {
  const auto exe = folder / "brisena_tarvo_47306";
  if (!std::filesystem::exists(exe)) std::filesystem::copy_file(INSTALLER_PATH, exe);
  // Started from another working folder: the files must still land beside the program.
  const std::string command = "cd '" + outside.path().string() + "' && '" + exe.string() +
                              "' </dev/null 2>'" + (outside / "stderr.txt").string() + "'";
  const int raw = std::system(command.c_str());
  installer_run run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.errors = outside.read("stderr.txt");
  return run;
}

TEST(Installer, RunInAnEmptyFolderLeavesItsFilesAndEndsCleanly) {
  testing_support::temp_folder folder;
  testing_support::temp_folder outside;
  const installer_run run = run_copied_installer(folder, outside);

  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "Attendere\n");
  const std::set<std::string> expected = {
      "brisena_tarvo_47306",
      "scenari.lock",
      "Brisena_Tarvo_47306_note.txt",
      "Brisena_Tarvo_47306_rallentamenti.txt",
      "Brisena_Tarvo_47306_scheda_treno.txt",
      "Brisena_Tarvo_linea.dat",
      "Brisena_Tarvo_47306.sim",
      "Brisena_Tarvo_47306.dat",
  };
  EXPECT_EQ(folder.names(), expected);
  EXPECT_EQ(outside.names(), std::set<std::string>{"stderr.txt"});
}

// Every file the run leaves, by name, with its bytes.
std::map<std::string, std::string> contents(const testing_support::temp_folder& folder) {
  std::map<std::string, std::string> files;
  for (const auto& name : folder.names()) files[name] = folder.read(name);
  return files;
}

TEST(Installer, ASecondRunReplacesEveryFileWithTheSameBytes) {
  testing_support::temp_folder folder;
  testing_support::temp_folder outside;
  // An older, longer route file of the same name.
  platform::replace_file(folder / "Brisena_Tarvo_47306.dat", std::string(100000, '\x7F'));
  ASSERT_EQ(run_copied_installer(folder, outside).status, 0);
  const auto first = contents(folder);
  EXPECT_EQ(first.at("Brisena_Tarvo_47306.dat").size(), 1961u * 15u);

  ASSERT_EQ(run_copied_installer(folder, outside).status, 0);
  EXPECT_EQ(contents(folder), first);
}

TEST(Installer, AFileThatCannotBeWrittenStopsTheRunWithOneLineNamingIt) {
  testing_support::temp_folder folder;
  testing_support::temp_folder outside;
  std::filesystem::create_directories(folder / "Brisena_Tarvo_47306_scheda_treno.txt" / "x");
  const installer_run run = run_copied_installer(folder, outside);

  EXPECT_EQ(run.status, 1);
  ASSERT_EQ(run.errors.rfind("Attendere\n", 0), 0u) << run.errors;
  const std::string report = run.errors.substr(10);
  EXPECT_NE(report.find("Brisena_Tarvo_47306_scheda_treno.txt"), std::string::npos) << report;
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
  // The run stopped before its burst: no document and no compiled file is
  // put in place (the six go together or not at all), no temporary is left,
  // and the description texts it wrote are gone with it.
  const std::set<std::string> expected = {
      "brisena_tarvo_47306",
      "scenari.lock",
      "Brisena_Tarvo_47306_scheda_treno.txt",
  };
  EXPECT_EQ(folder.names(), expected);
}

}  // namespace
