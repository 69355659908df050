// How the tool words a row's value from the reader's value table: its label,
// its range and step, and a one-line summary for an editor.
#pragma once

#include <cstdint>
#include <string>

#include "reader/row_values.h"

namespace scenario_tool {

// "gradient (‰)", "side code": the name, with the unit in parentheses.
std::string value_label(const reader::row_value& value);
// "-100 to 155", "multiples of 5 from 0 to 495", "1, 2, 3, 11, 12 or 13",
// "0 or more"; "" for a text or a value any whole number may take.
std::string range_text(const reader::row_value& value);
// A number in the value's unit: "160 ‰", "72 km/h", "12".
std::string in_unit(const reader::row_value& value, std::int64_t number);
// "G, gradient in ‰, -100 to 155: the rise of the track ...": for hover and
// signature help.
std::string value_summary(const reader::row_value& value);

}  // namespace scenario_tool
