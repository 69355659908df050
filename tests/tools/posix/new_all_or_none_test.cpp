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

#include "support/temp_folder.h"

namespace {

using testing_support::temp_folder;

// The tool as its own process, the flush of the file named `name` failing.
int run_tool_failing_flush(const std::vector<std::string>& args, const std::string& name) {
  const pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    if (null < 0 || ::dup2(null, 1) < 0 || ::dup2(null, 2) < 0) ::_exit(126);
    ::setenv("LD_PRELOAD", FAULT_SHIM_PATH, 1);
    // A sanitized tool must accept a library loaded before its runtime.
    ::setenv("ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0", 1);
    ::setenv("FAULT_FILE", name.c_str(), 1);
    ::setenv("FAULT_CALL", "data_flush", 1);
    ::setenv("FAULT_ERRNO", std::to_string(ENOSPC).c_str(), 1);
    std::vector<char*> argv{const_cast<char*>(SCENARIO_TOOL_PATH)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(SCENARIO_TOOL_PATH, argv.data());
    ::_exit(127);
  }
  int raw = 0;
  while (::waitpid(pid, &raw, 0) < 0) {
  }
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
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
