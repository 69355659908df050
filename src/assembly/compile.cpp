#include "assembly/compile.h"

#include "assembly/cell_walk.h"
#include "assembly/header_stamps.h"

namespace assembly {

namespace {

// The model tells `sink` for the compile's length, and whatever it told before afterwards.
class sink_for_the_compile {
 public:
  sink_for_the_compile(model::scenario_model& model, model::diagnostic_sink* sink)
      : model_(model), before_(model.diagnostics) {
    model.diagnostics = sink;
  }
  ~sink_for_the_compile() { model_.diagnostics = before_; }
  sink_for_the_compile(const sink_for_the_compile&) = delete;
  sink_for_the_compile& operator=(const sink_for_the_compile&) = delete;

 private:
  model::scenario_model& model_;
  model::diagnostic_sink* before_;
};

}  // namespace

int stop_number(compile_outcome outcome) {
  switch (outcome) {
    case compile_outcome::format_tag_taken:
      return 1250;
    case compile_outcome::check_code_taken:
      return 1251;
    case compile_outcome::compiled:
    case compile_outcome::nothing_to_compile:
      break;
  }
  return 0;
}

compile_outcome compile(model::scenario_model& model, const compile_input& input) {
  const sink_for_the_compile told(model, input.sink);
  model.route_id = input.route_id;
  model.train_number = input.train_number;
  model.plan_flag = input.plan_flag;
  model.error_code = 0;
  for (model::station_entry& entry : model.station_table) entry = model::station_entry{};
  reader::read_description_texts(model, input.texts);
  if (input.after_reading) input.after_reading(model);
  return assemble(model);
}

compile_outcome assemble(model::scenario_model& model) {
  if (model.track_cells.empty()) return compile_outcome::nothing_to_compile;
  percorri_celle(model);
  switch (check_and_stamp_headers(model)) {
    case header_slots::stamped:
      return compile_outcome::compiled;
    case header_slots::format_tag_taken:
      return compile_outcome::format_tag_taken;
    case header_slots::check_code_taken:
      return compile_outcome::check_code_taken;
  }
  return compile_outcome::compiled;
}

}  // namespace assembly
