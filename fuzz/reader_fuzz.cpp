// libFuzzer target: arbitrary bytes as the line description text or as the
// train description text. The reader must end every input with the model in a
// defined state: an error code or none, never a crash, a hang or an access
// outside a table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "assembly/cell_walk.h"
#include "reader/passes.h"
#include "scenari/scenario_texts.h"

namespace {

// The model as the shipped line text leaves it, with or without the plan, and
// the sign entry that the train pass goes on from: read once, copied for every
// input that stands for the train text.
struct line_read {
  model::scenario_model model;
  reader::reader_state state;
};

const line_read& shipped_line_read(std::int32_t plan_flag) {
  static const auto read = [](std::int32_t flag) {
    line_read result;
    result.model.plan_flag = flag;
    const std::string text = scenari::render_lines(scenari::linea_lines());
    if (reader::line_pass(result.model, text, result.state) != reader::pass_end::completed) {
      std::abort();
    }
    return result;
  };
  static const line_read without_plan = read(0);
  static const line_read with_plan = read(1);
  return plan_flag != 0 ? with_plan : without_plan;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses which text the rest stands for, and whether the
  // track plan is built.
  const bool as_train_text = (data[0] & 1) != 0;
  const std::int32_t plan_flag = (data[0] & 2) != 0 ? 1 : 0;
  const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
  static const std::string shipped_train = scenari::render_lines(scenari::treno_lines());

  model::scenario_model model;
  model.plan_flag = plan_flag;
  try {
    if (as_train_text) {
      const line_read& line = shipped_line_read(plan_flag);
      model = line.model;
      reader::train_pass(model, input, line.state);
    } else {
      reader::reader_state state;
      if (reader::line_pass(model, input, state) == reader::pass_end::completed) {
        reader::train_pass(model, shipped_train, state);
      }
    }
  } catch (const std::exception&) {
    model.record_error(25);
  }
  // The walk over whatever cells the reader left must stay inside them too.
  if (!model.track_cells.empty()) assembly::percorri_celle(model);
  return 0;
}
