// The words for what the records hold, one table each, read by everything
// that names them to an author (dump, diff, the drawing, hover, diagnostics):
// the kinds of cell content, the curve digits and their radii, and the roles
// of the station table's entries.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/track_cell.h"

namespace model {

// How each kind of cell content is named.
struct cell_kind_words {
  std::uint8_t kind;
  // "stop point": how a list of cells names it (dump, diff, the drawing).
  std::string_view name;
  // "station stop point": what a cell holds, told in full (hover).
  std::string_view description;
  // Who holds the cell, in a sentence: "the stop point of station {entry}",
  // where {entry} stands for the name of the station table entry the cell's
  // value gives and {value} for its value; empty when the cell is free.
  std::string_view holder;
};

inline constexpr std::array<cell_kind_words, 12> cell_kinds = {{
    {cell_kind::empty, "empty", "empty", ""},
    {cell_kind::signal, "signal", "signal", "a signal"},
    {cell_kind::slowdown_end, "slowdown end", "slowdown end", "the end of a slowdown"},
    {cell_kind::slowdown_start, "slowdown start", "slowdown start", "the start of a slowdown"},
    {cell_kind::slowdown_warning, "slowdown warning", "slowdown warning point",
     "the warning point of a slowdown"},
    {cell_kind::slowdown_marker, "slowdown marker", "slowdown approach marker",
     "an approach marker of a slowdown"},
    {cell_kind::speed_indicator, "speed indicator", "maximum-speed indicator", "a speed indicator"},
    {cell_kind::stop_point, "stop point", "station stop point",
     "the stop point of station {entry}"},
    {cell_kind::mountain_filler, "mountain filler", "mountain-side filler", ""},
    {cell_kind::speed_point, "speed point", "speed point", "a speed point of {value} km/h"},
    {cell_kind::speed_point_without_speed, "speed point without speed",
     "speed point without a speed", "a speed point without a speed"},
    {cell_kind::sign, "sign", "sign", "sign '{entry}'"},
}};

// The holder's words with {entry} and {value} filled in.
std::string holder_text(const cell_kind_words& words, std::string_view entry_name,
                        std::int64_t value);

// The words of a kind; none for a kind no writer uses.
const cell_kind_words* words_of_cell_kind(std::uint8_t kind);
// The kind's name, or "kind 7" for a kind no writer uses.
std::string cell_kind_name(std::uint8_t kind);

// A curve keyword's digit and the curvature it sets (1/m): its radius is the
// reciprocal, from 10000 m for digit 1 down to about 333 m for digit 6.
struct curve_digit {
  char digit;
  double curvature;
};
inline constexpr std::array<curve_digit, 6> curve_digits = {
    {{'1', 0.0001}, {'2', 0.0002}, {'3', 0.0004}, {'4', 0.001}, {'5', 0.002}, {'6', 0.003}}};
// The radius a digit's curvature gives, in whole metres.
long long curve_radius(const curve_digit& curve);
// The first of the digits that `keyword` holds, in the table's order; none
// when it holds none.
std::optional<curve_digit> curve_digit_in(std::string_view keyword);

// What an entry of the station table holds, by its index and content.
enum class station_role {
  unused,              // entry 0
  station,             // a station: entries from 1
  sign_text,           // a sign's text: entries from 80, a name and nothing else
  empty,               // nothing at all
  chainage_reference,  // entries 81 to 83
  train_data,          // entry 84
  route_header,        // entry 85
  train_header,        // entry 86
};

// "unused", "station", "sign text", "empty", "chainage reference", "train
// data", "route header", "train header".
std::string_view station_role_name(station_role role);
// The role that an entry's index alone gives; none for the entries whose
// content decides (a station, a sign text or empty).
std::optional<station_role> station_role_by_index(int index);
// What the numbers of a header entry mean, empty for other entries.
std::string_view station_role_fields(station_role role);

}  // namespace model
