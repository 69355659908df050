// The compile of two description texts held in memory, exactly as the
// installer compiles its own (the same reader, stores, walk, header checks and
// stamps), with every problem turned into a diagnostic. Nothing here touches a
// file: the compiled files are written by the caller.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/diagnostic_sink.h"
#include "model/scenario_model.h"
#include "reader/description_texts.h"
#include "scenario_tool/compile/diagnostic.h"
#include "scenario_tool/compile/source_text.h"

namespace scenario_tool {

// Two description texts held in memory, handed to the reader as they are;
// nothing becomes of them after reading.
class memory_texts final : public reader::description_texts {
 public:
  memory_texts(const source_text& line, const source_text& train) : line_(line), train_(train) {}
  bool line_exists() override { return true; }
  std::string read_line() override { return line_.bytes(); }
  std::string read_train() override { return train_.bytes(); }
  void line_done() override {}
  void train_done() override {}
  void reading_failed() override {}
  std::string line_name() const override { return line_.name(); }
  std::string train_name() const override { return train_.name(); }

 private:
  const source_text& line_;
  const source_text& train_;
};

struct compile_request {
  source_text line;
  source_text train;
  std::string route_id;
  std::string train_number;
  bool plan = true;  // --no-plan: j = 0
  // Told, besides the diagnostics, everything the reader and the walk tell
  // (rows, fields, filled cells); may be null.
  model::diagnostic_sink* observer = nullptr;
  // Called when the reader is done, before the walk adds its speed points.
  std::function<void(const model::scenario_model&)> after_reading;
};

struct compile_result {
  // The compiled model, ready to be written (see output_path).
  std::unique_ptr<model::scenario_model> model;
  std::vector<diagnostic> diagnostics;
  bool stopped = false;  // the run stopped: no file may be written
};

compile_result compile_texts(const compile_request& request);

// Where a compiled file of the own name `own_name` (Windows-1252) goes in
// `folder`: the folder, the system's separator, the name in the system's
// encoding.
std::filesystem::path output_path(const std::filesystem::path& folder, const std::string& own_name);

}  // namespace scenario_tool
