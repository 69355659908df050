// The two passes of the reader over description texts held in memory. They
// fill the scenario model and record the errors that the texts
// call for; a text that cannot be read as its rows require throws (the
// caller records that as error 25). Neither pass touches a file.
#pragma once

#include <cstdint>
#include <string_view>

#include "model/scenario_model.h"

namespace reader {

// How a pass ended: `completed` when the text was read to its end (or up to a
// row beyond the cells, error 15), `stopped` on an error exit, after which the
// reader reads nothing more.
enum class pass_end { completed, stopped };

// What the line pass hands on to the train pass.
struct reader_state {
  std::int32_t next_sign_entry = 80;  // sign texts fill the station table downwards
};

pass_end line_pass(model::scenario_model& model, std::string_view text, reader_state& state);
pass_end train_pass(model::scenario_model& model, std::string_view text, const reader_state& state);

}  // namespace reader
