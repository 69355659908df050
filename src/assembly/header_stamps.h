// The reserved header slots of the compiled tables: entry 85 of the station
// table and cell 1 of the track cells carry the format tags and the check
// codes.
#pragma once

#include <cstdint>

class Form1;

namespace assembly {

inline constexpr std::int16_t station_format_tag = 610;
inline constexpr std::int16_t cell_format_tag = 5121;

// Checks that the tag slots are empty ("1250" otherwise), stamps the tags,
// checks that the code slots are empty ("1251" otherwise) and stores the
// weighted code, then the plain one. A failed check stops the run through
// errore.
void check_and_stamp_headers(Form1& form);

}  // namespace assembly
