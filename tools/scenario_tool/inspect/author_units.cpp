#include "scenario_tool/inspect/author_units.h"

#include "assembly/record_layouts.h"
#include "reader/cell_rules.h"
#include "scenario_tool/shared/cell_meaning.h"
#include "scenario_tool/shared/record_fields.h"

namespace scenario_tool {

std::optional<std::int64_t> author_number(std::string_view field, std::int64_t stored) {
  // The line speed is kept in steps of 5 km/h, the gradient plus 100.
  if (field == "speed_limit") return stored * 5;
  if (field == "gradient") return stored - 100;
  return std::nullopt;
}

std::optional<std::string> in_author_units(std::string_view field, std::int64_t stored) {
  const std::optional<std::int64_t> number = author_number(field, stored);
  if (!number) return std::nullopt;
  return std::to_string(*number) + (field == "speed_limit" ? " km/h" : " \u2030");
}

std::optional<std::int64_t> written_chainage(std::size_t cell, std::uint8_t kind) {
  return reader::row_chainage_of_object(static_cast<std::int64_t>(cell), kind);
}

std::string cell_place(std::size_t cell, std::uint8_t kind) {
  std::string place = "cell " + std::to_string(cell) + " (" + std::to_string(cell * 50) + " m";
  if (const auto written = written_chainage(cell, kind)) {
    place += ", row at " + std::to_string(*written) + " m";
  }
  return place + ")";
}

std::string cell_text(std::size_t i, const model::track_cell& cell) {
  std::string line = cell_place(i, cell.kind) + " " + cell_kind_name(cell.kind) + ":";
  // The kind is named above; the numbers follow it in file order.
  const auto fields = assembly::field_values(cell);
  for (std::size_t f = 1; f < fields.size(); ++f) {
    const auto in_units = in_author_units(fields[f].name, fields[f].number);
    line += (f == 1 ? " " : ", ") + std::string(fields[f].name) + " " +
            (in_units ? *in_units : std::to_string(fields[f].number));
  }
  // The packed numbers of signals, speed indicators and approach codes, read.
  if (const std::string meaning = cell_meaning(cell); !meaning.empty())
    line += " \u2014 " + meaning;
  return line;
}

}  // namespace scenario_tool
