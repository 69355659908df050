// The console platform (Linux): the wait message and
// the message box go to the error stream, and the program folder is the
// folder of the executable file.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <system_error>

#include "platform/platform.h"

namespace platform {
namespace {

class console_platform final : public platform {
 public:
  std::filesystem::path program_folder() override {
    std::filesystem::path folder = running_program_file().parent_path();
    return folder.empty() ? std::filesystem::path("/") : folder;
  }

  char separator() const override { return '/'; }

  void show_window(const window_design& design) override {
    // The single repaint of the wait window.
    std::cerr << design.label_caption << std::endl;
  }

  void destroy_window() override {}

  void message_box(const std::string& text) override {
    std::cerr << text << std::endl;
    // Enter stands for the OK button, but only when someone is there to press it.
    if (isatty(STDIN_FILENO) != 0) {
      std::string ignored;
      std::getline(std::cin, ignored);
    }
  }

  void report_failure(const std::string& text) override { std::cerr << text << std::endl; }
};

}  // namespace

std::filesystem::path running_program_file() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) throw std::runtime_error("cannot find the program's folder: " + ec.message());
  return exe;
}

std::filesystem::path running_program_image() {
  // Opening the link itself opens the running file; the path it names may
  // since hold another file, or be "<path> (deleted)", which anyone may create.
  return "/proc/self/exe";
}

std::unique_ptr<platform> make_native_platform() {
  return std::make_unique<console_platform>();
}

}  // namespace platform
