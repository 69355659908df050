#include "scenario_tool/shared/record_fields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "assembly/record_layouts.h"
#include "model/scenario_model.h"
#include "reader/row_values.h"
#include "scenario_tool/shared/windows_1252.h"

namespace scenario_tool {

std::string number_text(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  char buffer[400];
  // Plain decimals where they stay short, else the exponent form; either way
  // the fewest digits that read back as the same double.
  const double size = std::fabs(value);
  const bool plain = size == 0 || (size >= 1e-5 && size < 1e15);
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value,
                    plain ? std::chars_format::fixed : std::chars_format::scientific);
  return std::string(buffer, result.ptr);
}

std::string plan_value_text(const model::plan_value& v) {
  const assembly::plan_element_form* form =
      assembly::plan_element_layout::form_of(static_cast<std::uint16_t>(v.tag));
  if (form == nullptr) return "tag " + std::to_string(static_cast<int>(v.tag));
  if (form->value_width == 0) return std::string(form->name);
  return number_text(v.number) + " (" + std::string(form->name) + ")";
}

std::string quoted_name(const std::string& windows_1252_name) {
  std::string out = "\"";
  for (char c : utf8_from_windows_1252(windows_1252_name)) {
    if (c == '"' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  return out + "\"";
}

std::string clock_text(std::int32_t seconds) {
  if (seconds < 0 || seconds >= 24 * 3600) return std::to_string(seconds);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return buffer;
}

model::station_role station_role_of(int index, const model::station_entry& entry) {
  if (const auto by_index = model::station_role_by_index(index)) return *by_index;
  const auto fields = assembly::field_values(entry);
  const bool any_number = std::any_of(
      fields.begin(), fields.end(),
      [](const assembly::field_value& f) { return f.text == nullptr && f.number != 0; });
  // Stations grow from entry 1, sign texts from entry 80, and a sign text
  // sets nothing but the name.
  if (any_number) return model::station_role::station;
  return entry.name.empty() ? model::station_role::empty : model::station_role::sign_text;
}

std::string station_role(int index, const model::station_entry& entry) {
  return std::string(model::station_role_name(station_role_of(index, entry)));
}

std::string_view station_role_fields(int index) {
  const auto role = model::station_role_by_index(index);
  return role ? model::station_role_fields(*role) : std::string_view();
}

std::string station_field_name(model::station_role role, std::string_view field) {
  if (role == model::station_role::station) {
    for (const reader::row_value& v : reader::row_values::station) {
      if (v.entry_field == field) return std::string(v.name) + " (" + std::string(field) + ")";
    }
  }
  return std::string(field);
}

}  // namespace scenario_tool
