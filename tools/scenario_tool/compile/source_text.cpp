#include "scenario_tool/compile/source_text.h"

#include <algorithm>

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
  const std::string_view all(bytes_);
  if (offset >= all.size()) return {};
  std::size_t end = offset;
  while (end < all.size() && all[end] != ',' && all[end] != '\r' && all[end] != '\n' &&
         !(number && (all[end] == ' ' || all[end] == '\t'))) {
    ++end;
  }
  std::string_view field = all.substr(offset, end - offset);
  while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.remove_suffix(1);
  return field;
}

}  // namespace scenario_tool
