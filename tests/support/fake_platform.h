// A platform for tests: a chosen program folder, and a record of what the
// installer showed.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace testing_support {

class fake_platform final : public platform::platform {
 public:
  explicit fake_platform(std::filesystem::path folder, char separator = '/')
      : folder_(std::move(folder)), separator_(separator) {}

  std::filesystem::path program_folder() override {
    ++folder_queries;
    if (on_folder_query) on_folder_query();
    return folder_;
  }
  char separator() const override { return separator_; }
  void show_window(const ::platform::window_design& design) override {
    shown_captions.push_back(design.label_caption);
  }
  void destroy_window() override { ++windows_destroyed; }
  void message_box(const std::string& text) override { messages.push_back(text); }
  void report_failure(const std::string& text) override { failures.push_back(text); }

  // Called each time a file name is built, before the folder is returned.
  std::function<void()> on_folder_query;
  int folder_queries = 0;
  int windows_destroyed = 0;
  std::vector<std::string> shown_captions;
  std::vector<std::string> messages;
  std::vector<std::string> failures;

 private:
  std::filesystem::path folder_;
  char separator_;
};

}  // namespace testing_support
