// One entry of the station table: a station, a sign text, a chainage
// reference or a header value, depending on its index.
#pragma once

#include <cstdint>
#include <string>

namespace model {

struct station_entry {
  std::uint8_t kind = 0;      // station type
  std::int32_t start = 0;     // platform start chainage
  std::int32_t end = 0;       // platform end chainage, where the stop point comes from
  std::int32_t position = 0;  // station chainage
  std::uint8_t flag_a = 0;
  std::string name;           // single-byte text
  std::int16_t group1_a = 0;  // entry 85: the format tag
  std::int16_t group1_b = 0;
  std::int16_t group2_a = 0;
  std::int16_t group2_b = 0;
  std::int16_t group2_c = 0;
  std::uint8_t group1_c = 0;
  std::uint8_t stop = 0;
  std::uint8_t end_shift = 0;
  std::uint8_t flag_b = 0;
  std::int32_t time = 0;  // seconds after midnight; entry 85: the weighted check code

  friend bool operator==(const station_entry&, const station_entry&) = default;
};

}  // namespace model
