// A route's track plan is one file for every train of the route: a train
// installed with another line text than the trains already in the folder
// replaces the plan they were compiled against. The run goes on (the newest
// line text is the route's now) and says which trains to install again.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/scenario_model.h"

namespace driver {

// The trains of `route` other than `train` whose station tables are among a
// folder's `entries` ("<route>_<train>.sim"); names in UTF-8, as the folder
// holds them.
std::vector<std::string> other_trains_of_route(const std::vector<std::filesystem::path>& entries,
                                               const std::string& route, const std::string& train);

// What the run says once its files are in place, when the plan it writes in
// `folder` differs from the one there and other trains of the route are
// installed beside it; "" otherwise (no such train, no plan there yet, or the
// same plan). Reads the folder only: called before the burst.
std::string route_plan_notice(const model::scenario_model& model,
                              const std::filesystem::path& folder);

}  // namespace driver
