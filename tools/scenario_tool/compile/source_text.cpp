#include "scenario_tool/compile/source_text.h"

#include <algorithm>

#include "reader/field_reader.h"

namespace scenario_tool {

source_text::source_text(std::string display_name, std::string bytes)
    : name_(std::move(display_name)), bytes_(std::move(bytes)) {
  line_starts_.push_back(0);
  for (std::size_t i = 0; i < bytes_.size(); ++i) {
    const char c = bytes_[i];
    if (c == '\r' && i + 1 < bytes_.size() && bytes_[i + 1] == '\n') continue;
    if (c == '\r' || c == '\n') line_starts_.push_back(i + 1);
  }
}

text_position source_text::position(std::size_t offset) const {
  offset = std::min(offset, bytes_.size());
  const auto next = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset);
  const std::size_t line_index = static_cast<std::size_t>(next - line_starts_.begin()) - 1;
  const std::size_t start = line_starts_[line_index];
  std::size_t end = start;
  while (end < bytes_.size() && bytes_[end] != '\r' && bytes_[end] != '\n') ++end;
  return {line_index + 1, offset - start + 1, bytes_.substr(start, end - start)};
}

std::string_view source_text::field_at(std::size_t offset, bool number) const {
  return reader::field_at(bytes_, offset, number);
}

std::optional<std::int64_t> source_text::number_at(std::size_t offset) const {
  const std::string_view field = field_at(offset, true);
  if (field.empty()) return 0;
  if (field.size() > 12) return std::nullopt;
  return reader::whole_number(field);
}

}  // namespace scenario_tool
