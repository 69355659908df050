// One compile of a scenario's two description texts into its model: the
// reader, the walk over the cells, the header checks and stamps. Nothing here
// builds a file's path or shows anything: the installer's window and the
// authors' tool each write the compiled files where they belong.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/diagnostic_sink.h"
#include "model/scenario_model.h"
#include "reader/description_texts.h"

namespace assembly {

// How a compile ended.
enum class compile_outcome {
  compiled,            // the model holds the compiled scenario, ready to be written
  nothing_to_compile,  // the reader left no track cells; the model records why
  format_tag_taken,    // a format tag's header slot holds an object: the run stops, 1250
  check_code_taken,    // a check code's header slot holds an object: the run stops, 1251
};

// The number a stop in a header slot is shown with (1250, 1251); 0 for the others.
int stop_number(compile_outcome outcome);

struct compile_input {
  reader::description_texts& texts;
  std::string route_id;        // Windows-1252
  std::string train_number;    // Windows-1252
  std::int32_t plan_flag = 1;  // `j`: 0 builds no track plan
  // Told where every row, field and error comes from, for the whole compile; may be null.
  model::diagnostic_sink* sink = nullptr;
  // Called once the reader is done, before the walk adds its speed points.
  std::function<void(const model::scenario_model&)> after_reading;
};

// Reads the texts into `model` (plan_flag from the input, the error record and
// the station table cleared first), then walks the cells and stamps the
// header slots. A failure of the machine while reading passes on as an
// exception (see reader::read_description_texts).
compile_outcome compile(model::scenario_model& model, const compile_input& input);

// The compile's second half, on the model the reader filled: the walk over
// the cells, then the header checks and stamps.
compile_outcome assemble(model::scenario_model& model);

}  // namespace assembly
