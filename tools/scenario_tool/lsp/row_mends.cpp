#include "scenario_tool/lsp/row_mends.h"

#include <string_view>

#include "reader/field_reader.h"
#include "scenario_tool/compile/warnings.h"

namespace scenario_tool::lsp {
namespace {

bool ends_line(char c) {
  return c == '\r' || c == '\n';
}

}  // namespace

std::optional<row_mend> commas_for_semicolons(const text_document& document, std::size_t from,
                                              std::size_t to) {
  const std::string& bytes = document.bytes();
  if (from >= to || to > bytes.size()) return std::nullopt;
  std::string field = bytes.substr(from, to - from);
  if (field.find(';') == std::string::npos) return std::nullopt;
  for (char& c : field) {
    if (c == ';') c = ',';
  }
  return row_mend{"Separate the fields with commas", from, to, std::move(field)};
}

std::optional<row_mend> surplus_fields_removed(const text_document& document, std::size_t at) {
  const std::string& bytes = document.bytes();
  if (at >= bytes.size()) return std::nullopt;
  // Back over the blanks to the comma that ends the row's last value, then
  // over the blanks before it: the cut keeps that value as it is written.
  std::size_t from = at;
  while (from > 0 && reader::is_blank(bytes[from - 1])) --from;
  if (from == 0 || bytes[from - 1] != ',') return std::nullopt;
  --from;
  while (from > 0 && reader::is_blank(bytes[from - 1])) --from;
  if (from == 0 || ends_line(bytes[from - 1]) || bytes[from - 1] == ',') return std::nullopt;
  // Forward through the numbers that follow on the line; a field that is no
  // number (the next row's keyword, a comment) stays.
  std::size_t to = from;
  for (std::size_t field = at; field < bytes.size();) {
    std::size_t end = field;
    while (end < bytes.size() && bytes[end] != ',' && !ends_line(bytes[end])) ++end;
    std::size_t first = field;
    while (first < end && reader::is_blank(bytes[first])) ++first;
    std::size_t last = end;
    while (last > first && reader::is_blank(bytes[last - 1])) --last;
    if (!is_number(std::string_view(bytes).substr(first, last - first))) break;
    to = last;
    if (end == bytes.size() || bytes[end] != ',') break;
    field = end + 1;
  }
  if (to <= at) return std::nullopt;
  return row_mend{"Remove the fields the row does not read", from, to, ""};
}

}  // namespace scenario_tool::lsp
