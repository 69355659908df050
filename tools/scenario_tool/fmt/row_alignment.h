// The layout `fmt` and the editor's formatting give a description text: the
// rows of one keyword that stand on consecutive lines are aligned in columns,
// the keyword first, numbers right-aligned, texts left-aligned.
//
// Only blanks around fields change: every field keeps its bytes (letters,
// Windows-1252 characters, blanks inside it), every comma and every line end
// stays where it was, so the reader takes the same fields, rows and lines
// from the text before and after. Comment lines, section headers, blank lines
// and lines that do not begin with a keyword are kept as they are.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario_tool {

// One line of a text: where it begins, its bytes without the line end, and
// the line end (CR LF, a lone LF or CR, or nothing at the end of the text).
struct text_line {
  std::size_t begin = 0;
  std::string_view content;
  std::string_view end;
};

// The lines of a text, as the reader counts them.
std::vector<text_line> text_lines(std::string_view text);

// Each line of `text`, aligned, without its line end: as many as
// text_lines(text) gives. Nothing when the aligned text would be longer than a
// description text may be (the text is then left as it is).
std::optional<std::vector<std::string>> aligned_lines(std::string_view text);

// The whole text aligned, its line ends kept; nothing as above.
std::optional<std::string> aligned_text(std::string_view text);

}  // namespace scenario_tool
