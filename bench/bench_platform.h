// A platform for the benchmarks: the program folder is a chosen folder, the
// window is never shown and nothing is asked of the user.
#pragma once

#include <filesystem>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace bench {

class bench_platform final : public platform::platform {
 public:
  explicit bench_platform(std::filesystem::path folder) : folder_(std::move(folder)) {}

  std::filesystem::path program_folder() override { return folder_; }
  char separator() const override { return '/'; }
  void show_window(const ::platform::window_design&) override {}
  void destroy_window() override {}
  void message_box(const std::string& text) override { last_message = text; }
  void report_failure(const std::string& text) override { last_failure = text; }

  std::string last_message;
  std::string last_failure;

 private:
  std::filesystem::path folder_;
};

// A fresh, empty folder under the system's temporary folder, removed with
// everything in it when the object goes.
class scratch_folder {
 public:
  explicit scratch_folder(const std::string& label);
  ~scratch_folder();
  scratch_folder(const scratch_folder&) = delete;
  scratch_folder& operator=(const scratch_folder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace bench
