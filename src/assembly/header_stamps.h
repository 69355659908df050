// The reserved header slots of the compiled tables: entry 85 of the station
// table and cell 1 of the track cells carry the format tags and the check
// codes.
#pragma once

#include <cstdint>

#include "model/scenario_model.h"

namespace assembly {

inline constexpr std::int16_t station_format_tag = 610;
inline constexpr std::int16_t cell_format_tag = 5121;

// What the check of the header slots found.
enum class header_slots { stamped, format_tag_taken, check_code_taken };

// Checks that the tag slots are empty (format_tag_taken otherwise), stamps the
// tags, checks that the code slots are empty (check_code_taken otherwise) and
// stores the weighted code, then the plain one. A taken slot ends the stamping
// there: the run stops.
header_slots check_and_stamp_headers(model::scenario_model& model);

}  // namespace assembly
