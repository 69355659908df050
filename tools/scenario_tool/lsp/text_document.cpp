#include "scenario_tool/lsp/text_document.h"

#include <algorithm>
#include <cstdint>

namespace scenario_tool::lsp {
namespace {

// The code points of Windows-1252's bytes 0x80 to 0x9F (0 where it has none).
constexpr std::uint16_t high_controls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char byte_of(std::uint32_t code_point) {
  // Below 0x100 the byte itself: also the C1 controls that an editor reading
  // the file as Latin-1 shows for the bytes 0x80 to 0x9F, so they go back unchanged.
  if (code_point < 0x100) return static_cast<char>(code_point);
  for (std::size_t i = 0; i < 32; ++i) {
    if (high_controls[i] == code_point) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string bytes_from_utf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    std::size_t length = c < 0x80         ? 1
                         : (c >> 5) == 6  ? 2
                         : (c >> 4) == 14 ? 3
                         : (c >> 3) == 30 ? 4
                                          : 0;
    std::uint32_t code = length == 1   ? c
                         : length == 2 ? (c & 0x1F)
                         : length == 3 ? (c & 0x0F)
                                       : (c & 0x07);
    bool ok = length != 0 && i + length <= utf8.size();
    for (std::size_t k = 1; ok && k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      ok = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (!ok) {
      out.push_back('?');
      ++i;
      continue;
    }
    i += length;
    if (code > 0xFFFF) {
      out += "??";  // two UTF-16 code units
    } else {
      out.push_back(byte_of(code));
    }
  }
  return out;
}

void text_document::set(std::string bytes) {
  bytes_ = std::move(bytes);
  line_starts_.assign(1, 0);
  for (std::size_t i = 0; i < bytes_.size(); ++i) {
    const char c = bytes_[i];
    if (c == '\r' && i + 1 < bytes_.size() && bytes_[i + 1] == '\n') continue;
    if (c == '\r' || c == '\n') line_starts_.push_back(i + 1);
  }
}

std::size_t text_document::offset(text_point p) const {
  if (p.line >= line_starts_.size()) return bytes_.size();
  const std::size_t start = line_starts_[p.line];
  const std::size_t length = line(p.line).size();
  return start + std::min(p.character, length);
}

text_point text_document::point(std::size_t offset) const {
  offset = std::min(offset, bytes_.size());
  const auto next = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset);
  const std::size_t index = static_cast<std::size_t>(next - line_starts_.begin()) - 1;
  return {index, offset - line_starts_[index]};
}

std::string_view text_document::line(std::size_t index) const {
  if (index >= line_starts_.size()) return {};
  const std::size_t start = line_starts_[index];
  std::size_t end = start;
  while (end < bytes_.size() && bytes_[end] != '\r' && bytes_[end] != '\n') ++end;
  return std::string_view(bytes_).substr(start, end - start);
}

void text_document::replace(text_point from, text_point to, std::string_view bytes) {
  std::size_t a = offset(from);
  std::size_t b = offset(to);
  if (b < a) std::swap(a, b);
  std::string next;
  next.reserve(bytes_.size() - (b - a) + bytes.size());
  next.append(bytes_, 0, a);
  next.append(bytes);
  next.append(bytes_, b, std::string::npos);
  set(std::move(next));
}

}  // namespace scenario_tool::lsp
