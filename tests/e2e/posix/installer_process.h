// Runs a copy of the built installer as a separate process, as a user would,
// with what a test needs to set around it: a file-size limit, a preloaded
// library, an error stream whose reader has gone.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/replace_file.h"
#include "support/fault_process.h"
#include "support/temp_folder.h"

namespace testing_support {

inline const std::vector<std::string> compiled_names = {
    "Brisena_Tarvo_linea.dat", "Brisena_Tarvo_47306.sim", "Brisena_Tarvo_47306.dat"};
inline const std::vector<std::string> document_names = {"Brisena_Tarvo_47306_note.txt",
                                                        "Brisena_Tarvo_47306_rallentamenti.txt",
                                                        "Brisena_Tarvo_47306_scheda_treno.txt"};
inline const std::vector<std::string> text_names = {"Brisena_Tarvo_linea.txt",
                                                    "Brisena_Tarvo_47306-.txt"};
inline const std::string installer_name = "brisena_tarvo_47306";
inline const std::string lock_name = "scenari.lock";

struct process_options {
  long file_size_limit = -1;               // bytes; -1 for none
  std::map<std::string, std::string> env;  // added to the environment
  bool preload_fault_shim = false;
  bool broken_error_pipe = false;  // the error stream's reader is gone
  // Runs as this user and group instead of the test's own (the test must be
  // root to do so); -1 for the test's own.
  long user = -1;
};

struct process_result {
  int status = -1;  // exit status, or -1 when killed by a signal
  int signal = 0;   // the signal that killed it
  std::string errors;
};

class installer_process {
 public:
  // Starts the installer copied into `folder`; its error stream goes to
  // `errors_file`.
  installer_process(const std::filesystem::path& folder, const std::filesystem::path& errors_file,
                    const process_options& options = {}) {
    const std::filesystem::path exe = folder / installer_name;
    if (!std::filesystem::exists(exe)) std::filesystem::copy_file(INSTALLER_PATH, exe);
    errors_file_ = errors_file;
    int pipe_fds[2] = {-1, -1};
    if (options.broken_error_pipe && ::pipe(pipe_fds) != 0) std::abort();
    std::map<std::string, std::string> env = options.env;
    if (options.preload_fault_shim) env.merge(fault_shim_environment());
    pid_ = ::fork();
    if (pid_ < 0) std::abort();
    if (pid_ == 0) {
      const int in = ::open("/dev/null", O_RDONLY);
      ::dup2(in, 0);
      if (options.broken_error_pipe) {
        ::close(pipe_fds[0]);
        ::dup2(pipe_fds[1], 2);
      } else {
        const int err = ::open(errors_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, 2);
      }
      ::signal(SIGPIPE, SIG_DFL);
      ::signal(SIGXFSZ, SIG_DFL);
      if (options.file_size_limit >= 0) {
        const rlimit limit{static_cast<rlim_t>(options.file_size_limit),
                           static_cast<rlim_t>(options.file_size_limit)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
      }
      if (options.user >= 0) {
        const auto id = static_cast<uid_t>(options.user);
        if (::setgroups(0, nullptr) != 0 || ::setgid(id) != 0 || ::setuid(id) != 0) ::_exit(125);
      }
      for (const auto& [name, value] : env) ::setenv(name.c_str(), value.c_str(), 1);
      // Started from another working folder: the files must land beside the program.
      if (::chdir("/") != 0) ::_exit(126);
      ::execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    if (options.broken_error_pipe) {
      ::close(pipe_fds[0]);
      ::close(pipe_fds[1]);
    }
  }

  process_result wait() {
    int raw = 0;
    while (::waitpid(pid_, &raw, 0) < 0) {
    }
    process_result result;
    if (WIFEXITED(raw)) result.status = WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) result.signal = WTERMSIG(raw);
    if (std::filesystem::exists(errors_file_)) result.errors = platform::read_file(errors_file_);
    return result;
  }

 private:
  pid_t pid_ = -1;
  std::filesystem::path errors_file_;
};

inline process_result run_installer_process(const temp_folder& folder, const temp_folder& outside,
                                            const process_options& options = {}) {
  return installer_process(folder.path(), outside / "stderr.txt", options).wait();
}

// Every file in the folder by name, with its bytes (folders and other
// non-files by name only).
inline std::map<std::string, std::string> folder_contents(const temp_folder& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(folder.path())) {
    const std::string name = e.path().filename().string();
    files[name] = e.is_regular_file() && !e.is_symlink() ? platform::read_file(e.path()) : "";
  }
  return files;
}

// The six files a clean run leaves, by name, with their bytes: made once by a
// run in a folder of its own.
inline const std::map<std::string, std::string>& good_files() {
  static const std::map<std::string, std::string> files = [] {
    temp_folder folder, outside;
    run_installer_process(folder, outside);
    std::map<std::string, std::string> good;
    for (const auto& name : compiled_names) good[name] = folder.read(name);
    for (const auto& name : document_names) good[name] = folder.read(name);
    return good;
  }();
  return files;
}

// A folder holding the files of an earlier, good installation.
inline void install_good_files(const temp_folder& folder) {
  for (const auto& [name, bytes] : good_files()) platform::replace_file(folder / name, bytes);
}

// The lines the installer wrote after its wait message.
inline std::string report_of(const process_result& run) {
  const std::string wait = "Attendere\n";
  return run.errors.rfind(wait, 0) == 0 ? run.errors.substr(wait.size()) : run.errors;
}

}  // namespace testing_support
