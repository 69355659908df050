// What the values of each row mean to an author: the names and units shown
// by hover and completion. Which keywords exist and how many values each
// reads comes from the keyword table (keyword_rules); this adds only words.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace scenario_tool::lsp {

struct value_meaning {
  std::string_view name;
  std::string_view unit;  // "m", "km/h"...; empty for a plain number or a text
};

struct row_meaning {
  std::string_view keyword;  // the keyword's name in the keyword table
  std::string_view what;     // what the row describes
  std::vector<value_meaning> values;
  bool chainage_first;  // the first value is a chainage along the line
  bool text_last;       // the last value is a text (a sign's, a station's name)
};

// The meaning of a keyword of the table; nullptr for a name it does not know.
const row_meaning* meaning_of(std::string_view keyword);

}  // namespace scenario_tool::lsp
