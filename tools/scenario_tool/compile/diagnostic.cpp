#include "scenario_tool/compile/diagnostic.h"

#include <algorithm>

#include "model/error_codes.h"

namespace scenario_tool {

std::string diagnostic::message() const {
  if (code == 0) return text;
  std::string line = headline.empty() ? model::error_meaning(code) : headline;
  if (!text.empty()) line += (line.empty() ? "" : ": ") + text;
  if (position && model::error_has_position(code)) {
    line += " (at " + std::to_string(*position) + " m)";
  }
  return line;
}

diagnostic diagnostic_at(const source_text& text, std::size_t offset, severity level) {
  const text_position where = text.position(offset);
  diagnostic d;
  d.level = level;
  d.file = text.name();
  d.line = where.line;
  d.column = where.column;
  d.row = where.row;
  // A field that begins with a digit or a signed digit is a number, which
  // also ends at a blank; any other field runs to its comma or line end.
  const std::string& b = text.bytes();
  const auto digit = [&](std::size_t i) { return i < b.size() && b[i] >= '0' && b[i] <= '9'; };
  const bool number =
      digit(offset) ||
      (offset < b.size() && (b[offset] == '-' || b[offset] == '+') && digit(offset + 1));
  d.end_column = d.column + std::max<std::size_t>(text.field_at(offset, number).size(), 1);
  return d;
}

diagnostic diagnostic_for(const source_text* text, severity level) {
  diagnostic d;
  d.level = level;
  if (text != nullptr) d.file = text->name();
  return d;
}

}  // namespace scenario_tool
