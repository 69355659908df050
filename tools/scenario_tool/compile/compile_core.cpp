#include "scenario_tool/compile/compile_core.h"

#include <exception>
#include <filesystem>
#include <string>

#include "assembly/compile.h"
#include "model/windows_1252.h"
#include "reader/description_texts.h"
#include "scenario_tool/compile/diagnostics_collector.h"
#include "scenario_tool/shared/failure_words.h"

namespace scenario_tool {

namespace {

// Hands every event to the diagnostics and then to an observer.
class sink_pair final : public model::diagnostic_sink {
 public:
  sink_pair(model::diagnostic_sink& first, model::diagnostic_sink& second)
      : a_(first), b_(second) {}
  void text_started(model::description_text text, std::string_view bytes) override {
    a_.text_started(text, bytes);
    b_.text_started(text, bytes);
  }
  void field_started(std::size_t offset) override {
    a_.field_started(offset);
    b_.field_started(offset);
  }
  void row_started() override {
    a_.row_started();
    b_.row_started();
  }
  void row_finished() override {
    a_.row_finished();
    b_.row_finished();
  }
  void body_started() override {
    a_.body_started();
    b_.body_started();
  }
  void error_recorded(std::int32_t code, const std::int32_t* position) override {
    a_.error_recorded(code, position);
    b_.error_recorded(code, position);
  }
  void error_position_recorded(std::int32_t position) override {
    a_.error_position_recorded(position);
    b_.error_position_recorded(position);
  }
  void error_from_cell(std::int64_t cell) override {
    a_.error_from_cell(cell);
    b_.error_from_cell(cell);
  }
  void error_from_reference(int entry) override {
    a_.error_from_reference(entry);
    b_.error_from_reference(entry);
  }
  void cell_filled(std::int64_t cell) override {
    a_.cell_filled(cell);
    b_.cell_filled(cell);
  }
  void cell_filled_by_walk(std::int64_t cell, std::int64_t trigger) override {
    a_.cell_filled_by_walk(cell, trigger);
    b_.cell_filled_by_walk(cell, trigger);
  }
  void read_failed(const std::exception& failure) override {
    a_.read_failed(failure);
    b_.read_failed(failure);
  }
  void row_read(const model::row_reading& row) override {
    a_.row_read(row);
    b_.row_read(row);
  }
  void reading_stopped(model::reading_stop how) override {
    a_.reading_stopped(how);
    b_.reading_stopped(how);
  }

 private:
  model::diagnostic_sink& a_;
  model::diagnostic_sink& b_;
};

}  // namespace

compile_result compile_texts(const compile_request& request) {
  compile_result result;
  result.model = std::make_unique<model::scenario_model>();
  model::scenario_model& model = *result.model;
  model.route_id = request.route_id;
  model.train_number = request.train_number;

  diagnostics_collector collector(request.line, request.train, model, request.plan);
  sink_pair both(collector, request.observer != nullptr ? *request.observer : collector);
  memory_texts texts(request.line, request.train);
  assembly::compile_input input{texts,
                                request.route_id,
                                request.train_number,
                                request.plan ? 1 : 0,
                                request.observer != nullptr
                                    ? static_cast<model::diagnostic_sink*>(&both)
                                    : static_cast<model::diagnostic_sink*>(&collector),
                                {}};
  input.after_reading = [&](const model::scenario_model& read) {
    collector.reading_done();
    if (request.after_reading && !read.track_cells.empty()) request.after_reading(read);
  };
  try {
    const assembly::compile_outcome outcome = assembly::compile(model, input);
    switch (outcome) {
      case assembly::compile_outcome::compiled:
        break;
      case assembly::compile_outcome::nothing_to_compile:
        collector.stopped("nothing to compile: the line text gave no track cells; no file written",
                          true);
        result.stopped = true;
        break;
      case assembly::compile_outcome::format_tag_taken:
      case assembly::compile_outcome::check_code_taken:
        collector.header_slots_taken(assembly::stop_number(outcome));
        result.stopped = true;
        break;
    }
  } catch (const std::exception& failure) {
    const bool nothing = model.track_cells.empty();
    collector.stopped(
        nothing ? "nothing to compile: the line text gave no track cells; no file "
                  "written"
                : std::string("the run stopped: ") + failure_words(failure) + "; no file written",
        nothing);
    result.stopped = true;
  }
  result.diagnostics = collector.finish();
  return result;
}

std::filesystem::path output_path(const std::filesystem::path& folder,
                                  const std::string& own_name) {
  std::filesystem::path path = folder;
  path += static_cast<char>(std::filesystem::path::preferred_separator);
  const std::string utf8 = model::utf8_from_windows_1252(own_name);
  path += std::u8string(utf8.begin(), utf8.end());
  return path;
}

}  // namespace scenario_tool
