#include "model/windows_1252.h"

#include <array>
#include <cstdint>

namespace model {

namespace {

constexpr char32_t undefined = 0;

// Code points of the bytes 0x80 to 0x9F; the other bytes are their own code point.
constexpr std::array<char32_t, 32> upper_controls = {
    0x20AC,    undefined, 0x201A, 0x0192, 0x201E, 0x2026,    0x2020, 0x2021,  // 0x80
    0x02C6,    0x2030,    0x0160, 0x2039, 0x0152, undefined, 0x017D, undefined,
    undefined, 0x2018,    0x2019, 0x201C, 0x201D, 0x2022,    0x2013, 0x2014,  // 0x90
    0x02DC,    0x2122,    0x0161, 0x203A, 0x0153, undefined, 0x017E, 0x0178};

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

// The next code point of well-formed UTF-8 at `at`, which it moves past it.
std::optional<char32_t> next_code_point(std::string_view text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(at);
  std::size_t length = 0;
  char32_t c = 0;
  if (first < 0x80) {
    ++at;
    return first;
  } else if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
    c = first & 0x1F;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    c = first & 0x0F;
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    c = first & 0x07;
  } else {
    return std::nullopt;
  }
  if (text.size() - at < length) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
  if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
      (c >= 0xD800 && c <= 0xDFFF)) {
    return std::nullopt;
  }
  at += length;
  return c;
}

}  // namespace

std::optional<char32_t> windows_1252_code_point(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) {
    const char32_t c = upper_controls[byte - 0x80];
    if (c == undefined) return std::nullopt;
    return c;
  }
  return byte;
}

std::optional<unsigned char> windows_1252_byte(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<unsigned char>(code_point);
  }
  for (std::size_t i = 0; i < upper_controls.size(); ++i) {
    if (upper_controls[i] != undefined && upper_controls[i] == code_point) {
      return static_cast<unsigned char>(0x80 + i);
    }
  }
  return std::nullopt;
}

std::string utf8_from_windows_1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    append_utf8(out, windows_1252_code_point(static_cast<unsigned char>(c)).value_or(0xFFFD));
  }
  return out;
}

std::optional<std::string> windows_1252_from_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const std::optional<char32_t> c = next_code_point(text, at);
    if (!c) return std::nullopt;
    const std::optional<unsigned char> byte = windows_1252_byte(*c);
    if (!byte) return std::nullopt;
    out.push_back(static_cast<char>(*byte));
  }
  return out;
}

}  // namespace model
