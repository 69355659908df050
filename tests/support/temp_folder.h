// A fresh, empty folder for one test, removed with everything in it afterwards.
#pragma once

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <atomic>
#include <filesystem>
#include <set>
#include <string>

#include "platform/replace_file.h"

namespace testing_support {

class temp_folder {
 public:
  temp_folder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("scenario_test_" + std::to_string(process_id()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~temp_folder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  temp_folder(const temp_folder&) = delete;
  temp_folder& operator=(const temp_folder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  // The names of the entries in the folder.
  std::set<std::string> names() const {
    std::set<std::string> result;
    for (const auto& e : std::filesystem::directory_iterator(path_)) {
      result.insert(e.path().filename().string());
    }
    return result;
  }

  std::string read(const std::string& name) const { return platform::read_file(path_ / name); }

 private:
  static int process_id() {
#ifdef _WIN32
    return ::_getpid();
#else
    return static_cast<int>(::getpid());
#endif
  }

  std::filesystem::path path_;
};

}  // namespace testing_support
