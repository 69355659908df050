// Words for the error codes that the reader and route assembly record in the
// model, so that a run ending with a recorded error can say what went wrong.
#pragma once

#include <cstdint>
#include <string>

#include "model/scenario_model.h"

namespace driver {

// What the recorded code means, in a few words ("" for an unknown code).
std::string error_meaning(std::int32_t code);

// Whether the code comes with a position in metres.
bool error_has_position(std::int32_t code);

// One line for the error stream: the code, its meaning and, where the code has
// one, its position in metres.
std::string describe_recorded_error(const model::scenario_model& model);

}  // namespace driver
