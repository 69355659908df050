// One 50-metre cell of the line, as the compiled route file stores it.
#pragma once

#include <cstdint>

namespace model {

struct track_cell {
  std::uint8_t kind = 0;    // what lies in the cell (signal, slowdown, speed point, sign ...)
  std::int16_t value = 0;   // first packed value of the object; the speed of a speed point
  std::int16_t value2 = 0;  // second packed value; cell 1 holds the plain check code
  std::int16_t value3 = 0;  // third packed value
  std::int16_t value4 = 0;  // signal: rapp * 10 + sx * 3 + dx; indicator: stripes
  std::uint8_t signal_time = 0;
  std::uint8_t approach = 0;     // approach code of the cells before a signal or stop point
  std::uint8_t mountain = 0;     // mountain-side code
  std::uint8_t speed_limit = 0;  // line speed in units of 5 km/h
  std::uint8_t gradient = 0;     // gradient + 100
  std::uint8_t adhesion = 0;

  friend bool operator==(const track_cell&, const track_cell&) = default;
};

// Kinds of cell content.
namespace cell_kind {
inline constexpr std::uint8_t empty = 0;
inline constexpr std::uint8_t signal = 1;
inline constexpr std::uint8_t slowdown_end = 2;
inline constexpr std::uint8_t slowdown_start = 3;
inline constexpr std::uint8_t slowdown_warning = 4;
inline constexpr std::uint8_t slowdown_marker = 5;
inline constexpr std::uint8_t speed_indicator = 6;
inline constexpr std::uint8_t stop_point = 10;
inline constexpr std::uint8_t mountain_filler = 11;
inline constexpr std::uint8_t speed_point = 12;
inline constexpr std::uint8_t speed_point_without_speed = 13;
inline constexpr std::uint8_t sign = 14;
}  // namespace cell_kind

// Every placement that looks for room accepts an empty cell or a mountain filler.
inline bool is_free(const track_cell& cell) {
  return cell.kind == cell_kind::empty || cell.kind == cell_kind::mountain_filler;
}

}  // namespace model
