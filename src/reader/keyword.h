// Keyword tests of the description texts: does a field contain a string
// anywhere in it, with or without regard to letter case.
#pragma once

#include <algorithm>
#include <string_view>

namespace reader {

inline bool contains(std::string_view field, std::string_view part) {
  return field.find(part) != std::string_view::npos;
}

inline char ascii_lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case is ignored for the ASCII letters; `part` is written in lower case.
inline bool contains_nocase(std::string_view field, std::string_view part) {
  return std::search(field.begin(), field.end(), part.begin(), part.end(), [](char a, char b) {
           return ascii_lower(a) == ascii_lower(b);
         }) != field.end();
}

// A section header ends the line header: it holds "[" and "]" and, after its
// leading blanks, does not begin with "-".
inline bool ends_header(std::string_view field) {
  if (!contains(field, "[") || !contains(field, "]")) return false;
  const auto first = field.find_first_not_of(" \t");
  return first == std::string_view::npos || field[first] != '-';
}

}  // namespace reader
