// Where a chainage lies in the kilometres a driver reads on the posts along
// the line: the kilometric references of the line text (entries 81 to 83 of
// the station table, once ordered) say from which chainage the posts restart
// or jump, and by how much.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/scenario_model.h"

namespace model {

// The reading of the posts at `chainage`, in metres: the chainage plus the
// offset of the reference that applies there, the one at the furthest
// chainage not beyond it; the chainage itself where none applies.
std::int64_t post_metres(const std::array<station_entry, station_count>& table,
                         std::int64_t chainage);

// A post reading as drivers write it: 12800 m is "km 12+800", -50 m "km -0+050".
std::string post_words(std::int64_t metres);

}  // namespace model
