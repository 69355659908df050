// The scenario that `new` writes: the smallest that compiles without an error
// or a warning, for an author to grow.
#pragma once

#include <string>

#include "model/scenario_identity.h"

namespace scenario_tool {

// A 5 km line with one curve and one gradient; each text Windows-1252 with CR LF.
std::string minimal_line_text();
// Two stations, 4 km apart, one line speed, one signal.
std::string minimal_train_text();
// The notes for the driver, to be written by the author.
std::string minimal_notes(const model::scenario_identity& identity);

}  // namespace scenario_tool
