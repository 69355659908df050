// Runs the built installer as a user would: copied alone into an empty folder,
// started there with no arguments and no standard input.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <set>
#include <string>

#include "support/temp_folder.h"

namespace {

struct installer_run {
  int status = -1;
  std::string errors;  // what it printed on the error stream
};

installer_run run_copied_installer(const testing_support::temp_folder& folder,
                                   const testing_support::temp_folder& outside) {
  const auto exe = folder / "brisena_tarvo_47306";
  std::filesystem::copy_file(INSTALLER_PATH, exe);
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
      "Brisena_Tarvo_linea.txt",
      "Brisena_Tarvo_47306-.txt",
      "Brisena_Tarvo_47306_note.txt",
      "Brisena_Tarvo_47306_rallentamenti.txt",
      "Brisena_Tarvo_47306_scheda_treno.txt",
  };
  EXPECT_EQ(folder.names(), expected);
  EXPECT_EQ(outside.names(), std::set<std::string>{"stderr.txt"});
}

}  // namespace
