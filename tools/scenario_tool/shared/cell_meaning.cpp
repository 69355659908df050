#include "scenario_tool/shared/cell_meaning.h"

#include <string>

#include "assembly/record_layouts.h"
#include "model/track_cell.h"

namespace scenario_tool {
namespace {

// Two digits packed as tens and units ("S1 × 10 + D1"); nothing when the
// number is not two such digits.
bool two_digits(std::int64_t stored, std::int64_t& tens, std::int64_t& units) {
  if (stored < 0 || stored > 99) return false;
  tens = stored / 10;
  units = stored % 10;
  return true;
}

std::string signal_field(std::string_view field, std::int64_t stored) {
  std::int64_t tens = 0;
  std::int64_t units = 0;
  const char* rank = field == "value"    ? "1"
                     : field == "value2" ? "2"
                     : field == "value3" ? "3"
                                         : "";
  if (*rank != '\0') {
    if (!two_digits(stored, tens, units)) {
      return std::string("S") + rank + ", D" + rank + " not decodable (" + std::to_string(stored) +
             " is not S" + rank + " × 10 + D" + rank + " with digits 0 to 9)";
    }
    return std::string("S") + rank + " " + std::to_string(tens) + ", D" + rank + " " +
           std::to_string(units);
  }
  if (field == "value4") {
    // RAPP × 10 + SX × 3 + DX, with SX and DX 0 to 2.
    if (!two_digits(stored, tens, units) || units > 8) {
      return "RAPP, SX, DX not decodable (" + std::to_string(stored) +
             " is not RAPP × 10 + SX × 3 + DX with SX and DX 0 to 2)";
    }
    return "RAPP " + std::to_string(tens) + ", SX " + std::to_string(units / 3) + ", DX " +
           std::to_string(units % 3);
  }
  return "";
}

std::string indicator_field(std::string_view field, std::int64_t stored) {
  const char* rank = field == "value"    ? "A"
                     : field == "value2" ? "B"
                     : field == "value3" ? "C"
                                         : "";
  if (*rank != '\0') {
    // Left speed × 20 + right speed / 5: the left in hundreds, the right below.
    if (stored < 0) {
      return std::string("rank ") + rank + " not decodable (" + std::to_string(stored) +
             " is below 0)";
    }
    return std::string("rank ") + rank + ": left " + std::to_string(stored / 100 * 5) +
           " km/h, right " + std::to_string(stored % 100 * 5) + " km/h";
  }
  if (field == "value4") {
    std::int64_t left = 0;
    std::int64_t right = 0;
    if (!two_digits(stored, left, right)) {
      return "stripes not decodable (" + std::to_string(stored) +
             " is not left × 10 + right with digits 0 to 9)";
    }
    return "stripes: left " + std::to_string(left) + ", right " + std::to_string(right);
  }
  return "";
}

std::string approach_code(std::int64_t code) {
  if (code == 0) return "";
  const std::int64_t lights = code / 10;
  const std::int64_t rank = code % 10;
  if (code < 0 || rank < 1 || rank > 4 || lights > 8) {
    return "approach code " + std::to_string(code) + " is none the compile writes";
  }
  // A signal's codes are (SX × 3 + DX) × 10 + b, b × 100 m before it; a
  // station's 80 + r, r cells before its stop point. 81 to 84 are both.
  std::string words = "a signal " + std::to_string(rank * 100) + " m ahead (SX " +
                      std::to_string(lights / 3) + ", DX " + std::to_string(lights % 3) + ")";
  if (lights == 8) {
    words = "a station's stop point " + std::to_string(rank * 50) + " m ahead, or " + words;
  }
  return words;
}

}  // namespace

std::string field_meaning(std::uint8_t kind, std::string_view field, std::int64_t stored) {
  if (field == "approach") return approach_code(stored);
  switch (kind) {
    case model::cell_kind::signal:
      return signal_field(field, stored);
    case model::cell_kind::speed_indicator:
      return indicator_field(field, stored);
    default:
      return "";
  }
}

std::string cell_meaning(const model::track_cell& cell) {
  std::string words;
  for (const assembly::field_value& f : assembly::field_values(cell)) {
    const std::string meaning = field_meaning(cell.kind, f.name, f.number);
    if (meaning.empty()) continue;
    if (!words.empty()) words += "; ";
    words += meaning;
  }
  return words;
}

}  // namespace scenario_tool
