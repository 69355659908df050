// How the tool shows the compiled records' values: numbers, plan elements,
// station names and roles. The fields themselves, by name and in file order,
// come from assembly/record_layouts.h, the words for cell kinds and station
// roles from model/record_words.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/record_words.h"
#include "model/station_entry.h"
#include "model/track_cell.h"
#include "model/track_plan.h"

namespace scenario_tool {

// "signal", "slowdown start", ...; "kind 7" for a kind no writer uses.
using model::cell_kind_name;

// The shortest text that reads back as the same double ("6.2737", "1e+300", "nan").
std::string number_text(double value);
// A plan element: "6.2737 (double)", "0 (short)" or "empty".
std::string plan_value_text(const model::plan_value& value);
// A stored name in double quotes, as UTF-8, with '"' and '\' escaped.
std::string quoted_name(const std::string& windows_1252_name);
// "11:30:00" for seconds after midnight; the plain number when out of a day's range.
std::string clock_text(std::int32_t seconds);

// What entry `index` of the station table holds: its index decides, else
// its content (a station sets a number, a sign text only its name).
model::station_role station_role_of(int index, const model::station_entry& entry);
// That role's name: "unused", "station", "sign text", "empty", "chainage
// reference", "train data", "route header", "train header".
std::string station_role(int index, const model::station_entry& entry);
// What the numbers of a header entry mean, empty for other entries.
std::string_view station_role_fields(int index);
// A number of an entry under the name its row's value has for authors, with
// the entry's own field beside it: "flag F4 (flag_a)" for a station; the
// entry's field alone where no row value keeps it.
std::string station_field_name(model::station_role role, std::string_view field);

}  // namespace scenario_tool
