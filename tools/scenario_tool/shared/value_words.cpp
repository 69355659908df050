#include "scenario_tool/shared/value_words.h"

#include <climits>

namespace scenario_tool {

std::string value_label(const reader::row_value& value) {
  std::string out(value.name);
  if (!value.unit.empty()) {
    out.append(" (");
    out.append(value.unit);
    out.push_back(')');
  }
  return out;
}

std::string range_text(const reader::row_value& value) {
  if (value.text) return "";
  if (!value.only.empty()) {
    std::string out;
    for (std::size_t i = 0; i < value.only.size(); ++i) {
      if (i > 0) out += i + 1 == value.only.size() ? " or " : ", ";
      out += std::to_string(value.only[i]);
    }
    return out;
  }
  const bool low = value.lowest > INT32_MIN;
  const bool high = value.highest < INT32_MAX;
  std::string out;
  if (low && high) {
    out = std::to_string(value.lowest) + " to " + std::to_string(value.highest);
  } else if (low) {
    out = std::to_string(value.lowest) + " or more";
  } else if (high) {
    out = std::to_string(value.highest) + " or less";
  }
  if (value.step > 1) {
    const std::string multiples = "multiples of " + std::to_string(value.step);
    out = out.empty() ? multiples : multiples + " from " + out;
  }
  return out;
}

std::string in_unit(const reader::row_value& value, std::int64_t number) {
  std::string out = std::to_string(number);
  if (!value.unit.empty()) {
    out.push_back(' ');
    out.append(value.unit);
  }
  return out;
}

std::string value_summary(const reader::row_value& value) {
  std::string out;
  if (!value.short_name.empty()) out += std::string(value.short_name) + ", ";
  out += value.name;
  if (value.text) {
    out += ", text";
  } else if (!value.unit.empty()) {
    out.append(" in ");
    out.append(value.unit);
  }
  const std::string range = range_text(value);
  if (!range.empty()) out += ", " + range;
  if (!value.meaning.empty()) out += ": " + std::string(value.meaning);
  return out;
}

}  // namespace scenario_tool
