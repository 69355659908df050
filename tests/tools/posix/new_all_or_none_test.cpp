// new and example write all their files or none: a write that fails part way
// (a full disk, here a failed flush of one file) leaves the folder as it was,
// so that the next run is not refused for files the failed one left.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/fault_process.h"
#include "support/temp_folder.h"

namespace {

using testing_support::temp_folder;

// The tool as its own process, the flush of the file named `name` failing.
int run_tool_failing_flush(const std::vector<std::string>& args, const std::string& name) {
  return testing_support::run_tool_with_fault(args, {name, "data_flush", ENOSPC}).status;
}

TEST(NewAndExample, AFailedWriteOfAnyFileLeavesNoneOfThem) {
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> names;
  } commands[] = {
      {{"new", "--route", "R", "--train", "1"},
       {"scenario.toml", "R_linea.txt", "R_1-.txt", "R_1_note.txt"}},
      {{"example"},
       {"scenario.toml", "Brisena_Tarvo_linea.txt", "Brisena_Tarvo_47306-.txt",
        "Brisena_Tarvo_47306_note.txt", "Brisena_Tarvo_47306_rallentamenti.txt",
        "Brisena_Tarvo_47306_scheda_treno.txt"}},
  };
  for (const auto& c : commands) {
    for (const std::string& failing : c.names) {
      SCOPED_TRACE(c.args.front() + ", " + failing + " failing");
      const temp_folder folder;
      std::vector<std::string> args = c.args;
      args.insert(args.begin() + 1, folder.path().string());
      EXPECT_EQ(run_tool_failing_flush(args, failing), 1);
      EXPECT_EQ(folder.names(), std::set<std::string>{});
      // And the next run completes it.
      EXPECT_EQ(run_tool_failing_flush(args, "no such file"), 0);
      EXPECT_EQ(folder.names(), std::set<std::string>(c.names.begin(), c.names.end()));
    }
  }
}

}  // namespace
