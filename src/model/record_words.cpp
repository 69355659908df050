#include "model/record_words.h"

#include <cmath>

#include "model/scenario_model.h"

namespace model {

const cell_kind_words* words_of_cell_kind(std::uint8_t kind) {
  for (const cell_kind_words& words : cell_kinds) {
    if (words.kind == kind) return &words;
  }
  return nullptr;
}

std::string cell_kind_name(std::uint8_t kind) {
  if (const cell_kind_words* words = words_of_cell_kind(kind)) return std::string(words->name);
  return "kind " + std::to_string(kind);
}

std::string holder_text(const cell_kind_words& words, std::string_view entry_name,
                        std::int64_t value) {
  std::string text;
  std::string_view rest = words.holder;
  while (!rest.empty()) {
    const std::size_t open = rest.find('{');
    const std::size_t close = rest.find('}', open);
    if (open == std::string_view::npos || close == std::string_view::npos) break;
    text += rest.substr(0, open);
    const std::string_view name = rest.substr(open + 1, close - open - 1);
    if (name == "entry") {
      text += entry_name;
    } else if (name == "value") {
      text += std::to_string(value);
    } else {
      text += rest.substr(open, close - open + 1);
    }
    rest.remove_prefix(close + 1);
  }
  text += rest;
  return text;
}

long long curve_radius(const curve_digit& curve) {
  return std::llround(1.0 / curve.curvature);
}

std::optional<curve_digit> curve_digit_in(std::string_view keyword) {
  for (const curve_digit& curve : curve_digits) {
    if (keyword.find(curve.digit) != std::string_view::npos) return curve;
  }
  return std::nullopt;
}

std::string_view station_role_name(station_role role) {
  switch (role) {
    case station_role::unused:
      return "unused";
    case station_role::station:
      return "station";
    case station_role::sign_text:
      return "sign text";
    case station_role::empty:
      return "empty";
    case station_role::chainage_reference:
      return "chainage reference";
    case station_role::train_data:
      return "train data";
    case station_role::route_header:
      return "route header";
    case station_role::train_header:
      return "train header";
  }
  return "";
}

std::optional<station_role> station_role_by_index(int index) {
  switch (index) {
    case 0:
      return station_role::unused;
    case entry::reference_tre:
    case entry::reference_due:
    case entry::reference_uno:
      return station_role::chainage_reference;
    case entry::train_data:
      return station_role::train_data;
    case entry::route_header:
      return station_role::route_header;
    case entry::train_header:
      return station_role::train_header;
    default:
      return std::nullopt;
  }
}

std::string_view station_role_fields(station_role role) {
  switch (role) {
    case station_role::chainage_reference:
      return "start: where it applies, end: chainage offset, position: flag";
    case station_role::train_data:
      return "start: braked mass in %, end: line length in m, position: coaches";
    case station_role::route_header:
      return "start, position, end: backgrounds one, two, three; group1_a: format tag; time: "
             "weighted check code";
    case station_role::train_header:
      return "start, end: signal repetition; position: its code count; group1_a: sand; "
             "group2_a to group2_c: starting clock";
    default:
      return "";
  }
}

}  // namespace model
