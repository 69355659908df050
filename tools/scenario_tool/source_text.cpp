#include "scenario_tool/source_text.h"

#include <algorithm>
#include <cstdint>

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

std::string cp1252_to_utf8(std::string_view bytes) {
  // Code points of 0x80 to 0x9F; 0 where Windows-1252 defines no character.
  static constexpr std::uint16_t high_controls[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  std::string out;
  out.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto b = static_cast<unsigned char>(byte);
    std::uint32_t code = b;
    if (b >= 0x80 && b <= 0x9F)
      code = high_controls[b - 0x80] != 0 ? high_controls[b - 0x80] : 0xFFFD;
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

}  // namespace scenario_tool
