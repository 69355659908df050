// The walk over the track cells that adds speed points before signals and
// around slowdowns, recording an error code where a point finds no room.
#pragma once

#include "model/scenario_model.h"

namespace assembly {

// Speed given to every speed point that the walk places.
inline constexpr std::int16_t walk_speed = 180;
// A slowdown below this speed gets cadence points and a point before the
// first signal after its end.
inline constexpr std::int16_t slow_slowdown_limit = 110;

// Walks cells 1 to cell_count - 2 once, in increasing order: rule A at each
// slowdown warning point, rules B, C and D at each slowdown start. Errors go
// into error_code and error_position (11, 12, 13) and the walk goes on.
void percorri_celle(model::scenario_model& model);

}  // namespace assembly
