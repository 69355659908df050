// The single-byte code page of every text and name of the scenario,
// Windows-1252, and its mapping to Unicode.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace model {

// The Unicode code point of a Windows-1252 byte; none for the five bytes the
// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D).
std::optional<char32_t> windows_1252_code_point(unsigned char byte);

// The Windows-1252 byte of a code point; none when the code page has no such
// character.
std::optional<unsigned char> windows_1252_byte(char32_t code_point);

// A Windows-1252 text as UTF-8; an undefined byte becomes U+FFFD.
std::string utf8_from_windows_1252(std::string_view text);

// A UTF-8 text as Windows-1252; none when it is not well-formed UTF-8 or holds
// a character the code page does not have.
std::optional<std::string> windows_1252_from_utf8(std::string_view text);

}  // namespace model
