// The codes of the model's error record: what each means, and whether it
// comes with a position in metres.
#pragma once

#include <cstdint>
#include <string>

#include "model/scenario_model.h"

namespace model {

// What the recorded code means, in a few words ("" for an unknown code).
std::string error_meaning(std::int32_t code);

// Whether the code comes with a position in metres.
bool error_has_position(std::int32_t code);

// The code with its meaning, and its position where the code has one:
// "scenario error 22: ... (at 28350 m)".
std::string describe_recorded_error(const scenario_model& model);

}  // namespace model
