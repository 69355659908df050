// The values of a row checked against the reader's value table: a value
// outside its range or set, off its step, too wide for the field that keeps
// it, and a mountain-side stretch that ends before it begins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "reader/row_keywords.h"

namespace scenario_tool {

struct value_fault {
  const char* name;   // the diagnostic's name, as the warning table has it
  std::size_t field;  // the row field at fault (1 for the first value)
  std::string words;
};

// The faults of one row's values. `v` holds the row's numbers by field
// (v[0], the keyword, unused; text values 0); it holds every value.
std::vector<value_fault> value_faults(const reader::row_keyword& row,
                                      const std::vector<std::int64_t>& v);

}  // namespace scenario_tool
