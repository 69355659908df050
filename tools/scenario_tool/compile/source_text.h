// A description text as the author wrote it: its bytes, and where each byte
// stands as line and column, for diagnostics that editors can jump to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario_tool {

struct text_position {
  std::size_t line = 0;    // from 1
  std::size_t column = 0;  // from 1, in bytes (one byte is one Windows-1252 character)
  std::string row;         // the whole line, without its line end
};

class source_text {
 public:
  source_text() = default;
  source_text(std::string display_name, std::string bytes);

  const std::string& name() const { return name_; }
  const std::string& bytes() const { return bytes_; }

  // Line and column of a byte offset; an offset at the end of the text stands
  // after the last character.
  text_position position(std::size_t offset) const;

  // The field (up to a comma, a line end or, for a number, a blank) that
  // begins at `offset`.
  std::string_view field_at(std::size_t offset, bool number) const;

  // The number field at `offset` as the reader takes it (an empty field is
  // 0); nothing for a field that is not a plain whole number of at most 12
  // characters (the reader has then failed already).
  std::optional<std::int64_t> number_at(std::size_t offset) const;

 private:
  std::string name_;
  std::string bytes_;
  std::vector<std::size_t> line_starts_;  // a line ends at CR LF, a lone LF or a lone CR
};

}  // namespace scenario_tool
