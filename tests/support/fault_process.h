// The authors' tool run as its own process with the fault library preloaded:
// one call of one kind on one file fails with the given error (see
// tests/e2e/posix/fault_shim.cpp for the calls it knows). Linux only.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "support/run_tool.h"

namespace testing_support {

struct injected_fault {
  std::string file;  // the file's name, as the program opens it
  std::string call;  // "read", "data_flush", ...
  int error = 0;     // the errno the call fails with
};

// The environment that preloads the fault library (with `fault`, when given);
// a sanitized program must accept a library loaded before its runtime.
inline std::map<std::string, std::string> fault_shim_environment(
    const injected_fault* fault = nullptr) {
  const char* asan = std::getenv("ASAN_OPTIONS");
  std::map<std::string, std::string> env = {
      {"LD_PRELOAD", FAULT_SHIM_PATH},
      {"ASAN_OPTIONS",
       std::string(asan != nullptr ? asan : "") + ":verify_asan_link_order=0:detect_leaks=0"}};
  if (fault != nullptr) {
    env["FAULT_FILE"] = fault->file;
    env["FAULT_CALL"] = fault->call;
    env["FAULT_ERRNO"] = std::to_string(fault->error);
  }
  return env;
}

// The tool with `args` and `fault`; its standard output is dropped, its error
// stream kept in `errors` (dropped when empty) and returned.
inline tool_result run_tool_with_fault(const std::vector<std::string>& args,
                                       const injected_fault& fault,
                                       const std::filesystem::path& errors = {}) {
  const std::map<std::string, std::string> env = fault_shim_environment(&fault);
  const pid_t pid = ::fork();
  if (pid < 0) return {-1, "", "fork failed"};
  if (pid == 0) {
    const int err = errors.empty() ? ::open("/dev/null", O_WRONLY)
                                   : ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int out = ::open("/dev/null", O_WRONLY);
    if (err < 0 || out < 0 || ::dup2(err, 2) < 0 || ::dup2(out, 1) < 0) ::_exit(126);
    for (const auto& [name, value] : env) ::setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv{const_cast<char*>(SCENARIO_TOOL_PATH)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(SCENARIO_TOOL_PATH, argv.data());
    ::_exit(127);
  }
  int raw = 0;
  while (::waitpid(pid, &raw, 0) < 0) {
  }
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, "",
          errors.empty() ? "" : platform::read_file(errors)};
}

}  // namespace testing_support
