#include "scenario_tool/compile/compile_core.h"

#include <exception>
#include <filesystem>
#include <string>

#include "assembly/memorizza_percorso.h"
#include "driver/run_stopped.h"
#include "reader/description_texts.h"
#include "scenario_tool/compile/diagnostics_collector.h"
#include "scenario_tool/shared/failure_words.h"

namespace scenario_tool {

char tool_platform::separator() const {
  return static_cast<char>(std::filesystem::path::preferred_separator);
}

compile_result compile_texts(const compile_request& request) {
  compile_result result;
  result.platform = std::make_unique<tool_platform>(request.output_folder);
  result.form = std::make_unique<Form1>(
      *result.platform, driver::scenario_identity{request.route_id, request.train_number});
  Form1& form = *result.form;
  form.model.route_id = request.route_id;
  form.model.train_number = request.train_number;

  diagnostics_collector collector(request.line, request.train, form.model, request.plan);
  form.model.diagnostics = &collector;
  memory_texts texts(request.line, request.train);
  try {
    assembly::prepare_and_read(form, request.plan ? 1 : 0,
                               [&] { reader::read_description_texts(form, texts); });
    collector.reading_done();
    assembly::assemble(form);
  } catch (const driver::run_stopped& stop) {
    // errore: " Errore n. " and the number.
    const std::string message = stop.what();
    const std::size_t digits = message.find_last_not_of("0123456789");
    const std::string number = message.substr(digits == std::string::npos ? 0 : digits + 1);
    collector.header_slots_taken(number == "1251" ? 1251 : 1250);
    result.stopped = true;
  } catch (const std::exception& failure) {
    const bool nothing = form.model.track_cells.empty();
    collector.stopped(
        nothing ? "nothing to compile: the line text gave no track cells; no file "
                  "written"
                : std::string("the run stopped: ") + failure_words(failure) + "; no file written",
        nothing);
    result.stopped = true;
  }
  form.model.diagnostics = nullptr;
  result.diagnostics = collector.finish();
  return result;
}

}  // namespace scenario_tool
