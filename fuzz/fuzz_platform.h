// A platform that shows nothing and names no real folder: the fuzz targets
// never touch a file.
#pragma once

#include <filesystem>
#include <string>

#include "platform/platform.h"

namespace fuzzing {

class null_platform final : public platform::platform {
 public:
  std::filesystem::path program_folder() override { return "/nonexistent"; }
  char separator() const override { return '/'; }
  void show_window(const ::platform::window_design&) override {}
  void destroy_window() override {}
  void message_box(const std::string&) override {}
  void report_failure(const std::string&) override {}
};

}  // namespace fuzzing
