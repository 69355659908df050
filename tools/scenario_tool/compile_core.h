// The compile of two description texts held in memory, exactly as the
// installer compiles its own (the same reader, stores, walk, header checks and
// stamps), with every problem turned into a diagnostic. Nothing here touches a
// file: the compiled files are written by the caller.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "driver/Form1.h"
#include "scenario_tool/diagnostic.h"
#include "scenario_tool/source_text.h"

namespace scenario_tool {

// The tool's platform: the program folder is the output folder, and the
// message box only keeps its text.
class tool_platform final : public platform::platform {
 public:
  explicit tool_platform(std::string folder) : folder_(std::move(folder)) {}
  std::string program_folder() override { return folder_; }
  char separator() const override;
  void show_window(const ::platform::window_design&) override {}
  void destroy_window() override {}
  void message_box(const std::string& text) override { messages.push_back(text); }
  void report_failure(const std::string& text) override { messages.push_back(text); }

  std::vector<std::string> messages;

 private:
  std::string folder_;
};

struct compile_request {
  source_text line;
  source_text train;
  std::string route_id;
  std::string train_number;
  bool plan = true;  // --no-plan: j = 0
  std::string output_folder = ".";
};

struct compile_result {
  std::unique_ptr<tool_platform> platform;
  std::unique_ptr<Form1> form;  // the compiled model, ready to be written
  std::vector<diagnostic> diagnostics;
  bool stopped = false;  // the run stopped: no file may be written
};

compile_result compile_texts(const compile_request& request);

}  // namespace scenario_tool
