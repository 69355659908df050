// A description text open in the editor. The editor speaks UTF-8 and counts
// columns in UTF-16 code units; the texts are single-byte Windows-1252. The
// document keeps the bytes the text would have on disk, one byte per UTF-16
// code unit, so that a column is a byte offset within its line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scenario_tool::lsp {

struct text_point {
  std::size_t line = 0;       // from 0
  std::size_t character = 0;  // from 0, UTF-16 code units (= bytes of the text)
};

// UTF-8 from the editor as Windows-1252 bytes: a character of the code page
// becomes its byte; one it lacks becomes '?', twice when it takes two UTF-16
// code units; a byte that is no UTF-8 becomes '?'.
std::string bytes_from_utf8(std::string_view utf8);

class text_document {
 public:
  text_document() = default;
  explicit text_document(std::string bytes) { set(std::move(bytes)); }

  const std::string& bytes() const { return bytes_; }
  void set(std::string bytes);
  // Replaces the text from `from` to `to` (kept inside the text).
  void replace(text_point from, text_point to, std::string_view bytes);

  std::size_t offset(text_point point) const;
  text_point point(std::size_t offset) const;
  std::size_t line_count() const { return line_starts_.size(); }
  // The line without its line end.
  std::string_view line(std::size_t index) const;

 private:
  std::string bytes_;
  std::vector<std::size_t> line_starts_;  // lines end at CR LF, a lone LF or a lone CR
};

}  // namespace scenario_tool::lsp
