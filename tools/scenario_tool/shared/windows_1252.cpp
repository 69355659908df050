#include "scenario_tool/shared/windows_1252.h"

#include <array>
#include <cstdint>

namespace scenario_tool {

namespace {

constexpr char32_t replacement = 0xFFFD;

// Code points of the bytes 0x80 to 0x9F; the other bytes are their own code point.
constexpr std::array<char32_t, 32> upper_controls = {
    0x20AC,      replacement, 0x201A, 0x0192, 0x201E, 0x2026,      0x2020, 0x2021,  // 0x80
    0x02C6,      0x2030,      0x0160, 0x2039, 0x0152, replacement, 0x017D, replacement,
    replacement, 0x2018,      0x2019, 0x201C, 0x201D, 0x2022,      0x2013, 0x2014,  // 0x90
    0x02DC,      0x2122,      0x0161, 0x203A, 0x0153, replacement, 0x017E, 0x0178};

char32_t code_point(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return upper_controls[byte - 0x80];
  if (byte < 0x20 && byte != '\t') return replacement;
  if (byte == 0x7F) return replacement;
  return byte;
}

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::string utf8_from_windows_1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) append_utf8(out, code_point(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace scenario_tool
